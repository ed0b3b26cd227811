#include "device/uDevice.h"

#include <chrono>

#include "lib/cf/Exception.h"

namespace device {

namespace {

// Two-line firmware takes the second label-options frame only after a pause.
constexpr std::chrono::milliseconds kPrepackPause{100};

constexpr const char16_t* kSentLine = u"Данные обмена -> ";
constexpr const char16_t* kReceivedLine = u"Данные обмена <- ";

}  // namespace

TDevice::TDevice(TExchangeLog ALog) : FLog(std::move(ALog)) {}

void TDevice::Enable(std::u16string_view AIPAddress, int32_t AIPPort) {
    FConnection.SetIPAddress(std::u16string(AIPAddress));
    FConnection.SetIPPort(AIPPort);
    FConnection.SetConnection();
}

void TDevice::Disable() { FConnection.CloseConnection(); }

void TDevice::LogExchange(const char16_t* ADirection, const TByteString& ABytes) {
    if (FExtLogEnabled && FLog) FLog(ADirection, BytesToHex(ABytes));
}

void TDevice::RunCommand(const TByteString& ACmd) {
    LogExchange(kSentLine, ACmd);
    FConnection.WriteStr(ACmd);
    FConnection.ReadString(1, FResponse);
    LogExchange(kReceivedLine, FResponse);
}

void TDevice::ReadAnswer(int ALen) { FConnection.ReadString(ALen, FResponse); }

void TDevice::Judge(uint8_t AGood, const char16_t* AMessage) {
    if (!FResponse.empty() && static_cast<uint8_t>(FResponse[0]) != AGood) throw cf::Exception(AMessage);
}

void TDevice::Execute(TByteString AFrame, uint8_t AGood, const char16_t* AMessage, int AFurther) {
    if (FPipelined && AFurther == 0) return SendPipelined(std::move(AFrame), AGood, AMessage);
    FRequest = std::move(AFrame);
    RunCommand(FRequest);
    Judge(AGood, AMessage);
    if (AFurther > 0) ReadAnswer(AFurther);
}

void TDevice::RunPipelined(const std::function<void()>& ABody) {
    FPipelined = true;
    try {
        ABody();
    } catch (...) {
        // The frame in flight was sent before the error arose: its answer
        // comes first, and a failure there is the one reported.
        EndPipeline();
        throw;
    }
    EndPipeline();
}

void TDevice::EndPipeline() {
    FPipelined = false;
    if (FPending) ReceivePending(false);
}

void TDevice::ReceivePending(bool ADeferLog) {
    const TPending pending = *FPending;
    FPending.reset();
    FConnection.ReadString(1, FResponse);
    try {
        Judge(pending.Good, pending.Message);
    } catch (...) {
        LogExchange(kReceivedLine, FResponse);
        throw;
    }
    if (!ADeferLog) LogExchange(kReceivedLine, FResponse);
}

// Only the answer's judgement stands between two frames: the log lines of
// both are written once the next frame is on its way, in the order one
// exchange after another would write them.
void TDevice::SendPipelined(TByteString AFrame, uint8_t AGood, const char16_t* AMessage) {
    const bool answered = FPending.has_value();
    if (answered) ReceivePending(true);
    FRequest = std::move(AFrame);
    const auto writeLines = [&] {
        if (answered) LogExchange(kReceivedLine, FResponse);
        LogExchange(kSentLine, FRequest);
    };
    try {
        FConnection.WriteStr(FRequest);
    } catch (...) {
        writeLines();
        throw;
    }
    writeLines();
    FPending = TPending{AGood, AMessage};
}

void TDevice::ClearPLU() { Execute(ClearPLUFrame(FFirmwareType), kACK, u"Ошибка удаления PLU"); }

void TDevice::DeletePLU(int32_t APluId) {
    Execute(DeletePLUFrame(FFirmwareType, APluId), kACK, u"Ошибка удаления PLU");
}

void TDevice::ReadPLU() {
    Execute(ReadPLUFrame(FFirmwareType), kReadPLU.GoodAnswer, u"Ошибка чтения конфигурации", kReadPLU.FurtherAnswer);
}

void TDevice::ReadConf() {
    Execute(ReadConfFrame(FFirmwareType), kReadConf.GoodAnswer, u"Ошибка чтения конфигурации",
            kReadConf.FurtherAnswer);
}

void TDevice::ReadAdditionalText(int32_t ATextID) {
    Execute(ReadAdditionalTextFrame(FFirmwareType, ATextID), kReadAdditionalText.GoodAnswer,
            u"Ошибка чтения таблицы дополнительных текстов", kReadAdditionalText.FurtherAnswer);
}

void TDevice::WritePlu(int32_t APLU, int32_t AGroupNumber, int32_t AFixWeight, int32_t AShelfLife,
                       int32_t ASellByDate, int32_t ATaxNumber, int32_t ATareNumber, std::u16string_view ABarcode,
                       std::u16string_view AName, TCurrency APrice, bool AIsWeightGoods, int32_t ATextID) {
    const TPluRecord record{APLU,        AGroupNumber,           AFixWeight,           AShelfLife,
                            ASellByDate, ATaxNumber,             ATareNumber,          std::u16string(ABarcode),
                            std::u16string(AName), APrice,       AIsWeightGoods,       ATextID};
    Execute(WritePluFrame(FFirmwareType, record), kACK, u"Ошибка выгрузки PLU");
}

void TDevice::WriteTare(int32_t LTareNumber, int32_t LTareWeight) {
    Execute(WriteTareFrame(FFirmwareType, LTareNumber, LTareWeight), kACK, u"Ошибка выгрузки веса тары");
}

void TDevice::WriteCompany(std::u16string_view AName) {
    Execute(WriteCompanyFrame(FFirmwareType, AName), kACK, u"Ошибка изменения наименования организации");
}

void TDevice::WriteAdditionalText(int32_t ATextID, std::u16string_view AValue) {
    Execute(WriteAdditionalTextFrame(FFirmwareType, ATextID, AValue), kACK,
            u"Ошибка выгрузки дополнительного текста");
}

void TDevice::WriteDateTime(double ADateTime) {
    Execute(WriteDateTimeFrame(FFirmwareType, ADateTime), kACK, u"Ошибка изменения даты и времени");
}

void TDevice::WriteOperatorOptions(const TOperatorOptions& AOperOptions) {
    Execute(WriteOperatorOptionsFrame(FFirmwareType, AOperOptions), kACK,
            u"Ошибка изменения конфигурации обслуживания");
}

void TDevice::WriteLabel(std::u16string_view AData) {
    TByteString frame;
    try {
        frame = HexToBytes(AData);
    } catch (const cf::EConvertError&) {
        throw cf::Exception(u"Данные этикетки должны быть шестнадцатеричным текстом (две цифры 0-9, A-F на байт)");
    }
    Execute(std::move(frame), kACK, u"Ошибка прогрузки данных этикетки");
}

void TDevice::WriteOpers(std::u16string_view AOperators) {
    for (int index = 0; index < kOperatorCount; ++index) {
        Execute(WriteOpersFrame(FFirmwareType, index, AOperators), kACK, u"Ошибка прогрузки данных операторов");
    }
}

void TDevice::WriteDateText(std::u16string_view ADate) {
    for (int index = 1; index <= kDateTextCount; ++index) {
        Execute(WriteDateTextFrame(FFirmwareType, index, ADate), kACK, u"Ошибка прогрузки текста даты");
    }
}

void TDevice::WriteBarcodeFormat(std::u16string_view ABarcode, std::u16string_view APrefix) {
    Execute(WriteBarcodeFormatFrame(FFirmwareType, ABarcode, APrefix), kACK, u"Ошибка прогрузки шаблона штрихкода");
}

void TDevice::WriteLabelOptions(const TLabelOptions& ALabelOptions, std::u16string_view /*ADate*/) {
    Execute(WriteLabelOptionsFrame(FFirmwareType, ALabelOptions), kACK, u"Ошибка прогрузки опций этикетки");
    if (FFirmwareType != 1) return;
    sockets::Pause(kPrepackPause);
    Execute(PrepackLabelOptionsFrame(FFirmwareType, FRequest), kACK, u"Ошибка прогрузки опций для препака");
}

}  // namespace device
