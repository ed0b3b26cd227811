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

void TDevice::LogExchange(const char16_t* ADirection, const TByteString& ABytes) const {
    if (FExtLogEnabled && FLog) FLog(ADirection, BytesToHex(ABytes));
}

void TDevice::LogRequest() const { LogExchange(kSentLine, FRequest); }

void TDevice::LogAnswer() const { LogExchange(kReceivedLine, FResponse); }

void TDevice::SendRequest(TByteString AFrame) {
    FRequest = std::move(AFrame);
    FConnection.WriteStr(FRequest);
}

void TDevice::AwaitAnswer(const TAnswerCheck& ACheck) {
    FConnection.ReadString(1, FResponse);
    if (!FResponse.empty() && static_cast<uint8_t>(FResponse[0]) != ACheck.Good) {
        LogAnswer();
        throw cf::Exception(ACheck.Message);
    }
}

// The frame's line goes first, so that it is written even when the send fails.
void TDevice::Execute(TRequest ARequest, int AFurther) {
    LogExchange(kSentLine, ARequest.Frame);
    SendRequest(std::move(ARequest.Frame));
    AwaitAnswer(ARequest.Check);
    LogAnswer();
    if (AFurther > 0) FConnection.ReadString(AFurther, FResponse);
}

TRequest TDevice::PluRequest(const TPluRecord& ARecord) const {
    return {WritePluFrame(FFirmwareType, ARecord), {kACK, u"Ошибка выгрузки PLU"}};
}

TRequest TDevice::TareRequest(int32_t LTareNumber, int32_t LTareWeight) const {
    return {WriteTareFrame(FFirmwareType, LTareNumber, LTareWeight), {kACK, u"Ошибка выгрузки веса тары"}};
}

TRequest TDevice::AdditionalTextRequest(int32_t ATextID, std::u16string_view AValue) const {
    return {WriteAdditionalTextFrame(FFirmwareType, ATextID, AValue),
            {kACK, u"Ошибка выгрузки дополнительного текста"}};
}

void TDevice::ClearPLU() { Execute({ClearPLUFrame(FFirmwareType), {kACK, u"Ошибка удаления PLU"}}); }

void TDevice::DeletePLU(int32_t APluId) {
    Execute({DeletePLUFrame(FFirmwareType, APluId), {kACK, u"Ошибка удаления PLU"}});
}

void TDevice::ReadPLU() {
    Execute({ReadPLUFrame(FFirmwareType), {kReadPLU.GoodAnswer, u"Ошибка чтения конфигурации"}},
            kReadPLU.FurtherAnswer);
}

void TDevice::ReadConf() {
    Execute({ReadConfFrame(FFirmwareType), {kReadConf.GoodAnswer, u"Ошибка чтения конфигурации"}},
            kReadConf.FurtherAnswer);
}

void TDevice::ReadAdditionalText(int32_t ATextID) {
    Execute({ReadAdditionalTextFrame(FFirmwareType, ATextID),
             {kReadAdditionalText.GoodAnswer, u"Ошибка чтения таблицы дополнительных текстов"}},
            kReadAdditionalText.FurtherAnswer);
}

void TDevice::WritePlu(int32_t APLU, int32_t AGroupNumber, int32_t AFixWeight, int32_t AShelfLife,
                       int32_t ASellByDate, int32_t ATaxNumber, int32_t ATareNumber, std::u16string_view ABarcode,
                       std::u16string_view AName, TCurrency APrice, bool AIsWeightGoods, int32_t ATextID) {
    const TPluRecord record{APLU,        AGroupNumber,           AFixWeight,           AShelfLife,
                            ASellByDate, ATaxNumber,             ATareNumber,          std::u16string(ABarcode),
                            std::u16string(AName), APrice,       AIsWeightGoods,       ATextID};
    Execute(PluRequest(record));
}

void TDevice::WriteTare(int32_t LTareNumber, int32_t LTareWeight) {
    Execute(TareRequest(LTareNumber, LTareWeight));
}

void TDevice::WriteCompany(std::u16string_view AName) {
    Execute({WriteCompanyFrame(FFirmwareType, AName), {kACK, u"Ошибка изменения наименования организации"}});
}

void TDevice::WriteAdditionalText(int32_t ATextID, std::u16string_view AValue) {
    Execute(AdditionalTextRequest(ATextID, AValue));
}

void TDevice::WriteDateTime(double ADateTime) {
    Execute({WriteDateTimeFrame(FFirmwareType, ADateTime), {kACK, u"Ошибка изменения даты и времени"}});
}

void TDevice::WriteOperatorOptions(const TOperatorOptions& AOperOptions) {
    Execute({WriteOperatorOptionsFrame(FFirmwareType, AOperOptions), {kACK, u"Ошибка изменения конфигурации обслуживания"}});
}

void TDevice::WriteLabel(std::u16string_view AData) {
    TByteString frame;
    try {
        frame = HexToBytes(AData);
    } catch (const cf::EConvertError&) {
        throw cf::Exception(u"Данные этикетки должны быть шестнадцатеричным текстом (две цифры 0-9, A-F на байт)");
    }
    Execute({std::move(frame), {kACK, u"Ошибка прогрузки данных этикетки"}});
}

void TDevice::WriteOpers(std::u16string_view AOperators) {
    for (int index = 0; index < kOperatorCount; ++index) {
        Execute({WriteOpersFrame(FFirmwareType, index, AOperators), {kACK, u"Ошибка прогрузки данных операторов"}});
    }
}

void TDevice::WriteDateText(std::u16string_view ADate) {
    for (int index = 1; index <= kDateTextCount; ++index) {
        Execute({WriteDateTextFrame(FFirmwareType, index, ADate), {kACK, u"Ошибка прогрузки текста даты"}});
    }
}

void TDevice::WriteBarcodeFormat(std::u16string_view ABarcode, std::u16string_view APrefix) {
    Execute({WriteBarcodeFormatFrame(FFirmwareType, ABarcode, APrefix), {kACK, u"Ошибка прогрузки шаблона штрихкода"}});
}

void TDevice::WriteLabelOptions(const TLabelOptions& ALabelOptions, std::u16string_view /*ADate*/) {
    Execute({WriteLabelOptionsFrame(FFirmwareType, ALabelOptions), {kACK, u"Ошибка прогрузки опций этикетки"}});
    if (FFirmwareType != 1) return;
    sockets::Pause(kPrepackPause);
    Execute({PrepackLabelOptionsFrame(FFirmwareType, FRequest), {kACK, u"Ошибка прогрузки опций для препака"}});
}

}  // namespace device
