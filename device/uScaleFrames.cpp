#include "device/uScaleFrames.h"

#include <pcre2.h>

#include <array>
#include <cmath>
#include <memory>
#include <mutex>

#include "device/uSystemCodePages.h"
#include "lib/cf/DateTime.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"
#include "lib/cf/VariantConvert.h"

namespace device {

namespace {

const TByteString kSpace(1, ' ');

std::u16string Text(std::u16string_view text, int width) { return PadText(text, width, u' ', taLeft); }

// Appends one unsigned field; a value that does not fit is refused by name.
void Put(TByteString& frame, int size, int64_t value, std::u16string_view field) {
    AppendIntLE(frame, size, value, field);
}

void PutConst(TByteString& frame, int size, int64_t value) { AppendIntLE(frame, size, value); }

TByteString Finish(TByteString frame, int32_t firmwareType) { return FinishFrame(std::move(frame), firmwareType); }

struct CodeDeleter {
    void operator()(pcre2_code_16* code) const { pcre2_code_free_16(code); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data_16* data) const { pcre2_match_data_free_16(data); }
};

const pcre2_code_16* NameSeparator() {
    static const std::unique_ptr<pcre2_code_16, CodeDeleter> code = [] {
        static constexpr char16_t kPattern[] = u"[|]{2}";
        int error = 0;
        PCRE2_SIZE offset = 0;
        pcre2_code_16* compiled = pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(kPattern), PCRE2_ZERO_TERMINATED,
                                                   0, &error, &offset, nullptr);
        if (compiled == nullptr) throw cf::EAssertionFailed(u"Не удалось построить выражение разбора наименования");
        return std::unique_ptr<pcre2_code_16, CodeDeleter>(compiled);
    }();
    return code.get();
}

// One match block for every name, made on first use and shared under a
// lock: a block made and freed per name was a visible part of each goods frame.
struct SeparatorMatch {
    std::mutex lock;
    std::unique_ptr<pcre2_match_data_16, MatchDataDeleter> data{
        pcre2_match_data_create_from_pattern_16(NameSeparator(), nullptr)};
};

SeparatorMatch& SharedSeparatorMatch() {
    static SeparatorMatch match;
    if (!match.data) throw std::bad_alloc();
    return match;
}

}  // namespace

void CheckFirmwareType(int32_t AFirmwareType) {
    if (AFirmwareType != 0 && AFirmwareType != 1) {
        throw cf::Exception(u"Неподдерживаемый тип прошивки весов: " + cf::IntToStr(AFirmwareType) +
                            u" (допустимы 0 — однострочная и 1 — двухстрочная)");
    }
}

TByteString FrameHeader(const TCommandCode& c) {
    TByteString header(1, static_cast<char>(kSTX));
    PutConst(header, 2, c.DataLength + 8);
    PutConst(header, 2, 1);
    PutConst(header, 2, c.DataLength);
    PutConst(header, 1, 0);
    PutConst(header, 1, c.Table);
    PutConst(header, 1, 0);
    PutConst(header, 2, c.Operation);
    PutConst(header, 2, c.Parameter);
    PutConst(header, 1, 0);
    return header;
}

TByteString CalcTrailer(TByteString& ARequest, int32_t AFirmwareType) {
    if (ARequest.size() > kHeaderSize) ARequest[kFirmwareMarkOffset] = AFirmwareType == 0 ? 0x02 : 0x01;
    const uint16_t crc = Crc16(std::string_view(ARequest).substr(std::min<std::size_t>(1, ARequest.size())));
    return TByteString{static_cast<char>(crc >> 8), static_cast<char>(crc & 0xFF)};
}

TByteString FinishFrame(TByteString ARequest, int32_t AFirmwareType) {
    const TByteString trailer = CalcTrailer(ARequest, AFirmwareType);
    ARequest += trailer;
    return ARequest;
}

std::pair<std::u16string_view, std::u16string_view> SplitPluName(std::u16string_view AName) {
    SeparatorMatch& match = SharedSeparatorMatch();
    std::lock_guard<std::mutex> guard(match.lock);
    const auto subject = reinterpret_cast<PCRE2_SPTR16>(AName.data());
    std::u16string_view line1 = AName;
    PCRE2_SIZE start = 0;
    while (pcre2_match_16(NameSeparator(), subject, AName.size(), start, 0, match.data.get(), nullptr) > 0) {
        const PCRE2_SIZE* bounds = pcre2_get_ovector_pointer_16(match.data.get());
        if (start == 0) line1 = AName.substr(0, bounds[0]);
        start = bounds[1];
    }
    if (start == 0) return {AName, {}};
    return {line1, AName.substr(start)};
}

TByteString ClearPLUFrame(int32_t fw) { return Finish(FrameHeader(kClearPLU) + TByteString(45, ' '), fw); }

TByteString DeletePLUFrame(int32_t fw, int32_t APluId) {
    TByteString frame = FrameHeader(kDeletePLU);
    Put(frame, 4, APluId, u"Номер PLU");
    return Finish(frame + TByteString(41, ' '), fw);
}

TByteString ReadPLUFrame(int32_t fw) {
    TByteString frame = FrameHeader(kReadPLU);
    PutConst(frame, 4, 1);
    return Finish(frame + TByteString(41, ' '), fw);
}

TByteString ReadConfFrame(int32_t fw) {
    TByteString frame = FrameHeader(kReadConf);
    PutConst(frame, 1, 0);
    return Finish(std::move(frame), fw);
}

TByteString ReadAdditionalTextFrame(int32_t fw, int32_t ATextID) {
    TByteString frame = FrameHeader(kReadAdditionalText);
    Put(frame, 2, ATextID, u"ID дополнительного текста");
    return Finish(std::move(frame), fw);
}

TByteString WritePluFrame(int32_t fw, const TPluRecord& r) {
    CheckFirmwareType(fw);
    const auto [line1, line2] = SplitPluName(r.Name);
    const int64_t price = PriceToHundredths(r.Price);
    if (price < 0 || price > 0xFFFFFFFFLL) {
        throw cf::Exception(u"Значение поля «Цена» вне допустимого диапазона 0..42949672.95: " + cf::CurrToStr(r.Price, u'.'));
    }
    const TCommandCode& command = fw == 0 ? kWritePluOneLine : kWritePluTwoLine;
    TByteString frame;
    frame.reserve(kHeaderSize + command.DataLength + kCrcSize);
    frame += FrameHeader(command);
    Put(frame, 4, r.PLU, u"Номер PLU");
    AppendPaddedCP866(frame, r.Barcode, kBarcodeWidth, '0', taRight);
    if (fw == 0) {
        AppendPaddedCP866(frame, line1, kPluNameOneLineWidth, ' ', taLeft);
    } else {
        AppendPaddedCP866(frame, line1, kPluNameLineWidth, ' ', taLeft);
        AppendPaddedCP866(frame, line2, kPluNameLineWidth, ' ', taLeft);
    }
    frame += kSpace;
    PutConst(frame, 4, price);
    Put(frame, 1, r.TaxNumber, u"Налоговая ставка");
    Put(frame, 1, r.TareNumber, u"Номер тары");
    PutConst(frame, 2, 0);
    Put(frame, 2, r.FixWeight, u"Фиксированный вес");
    PutConst(frame, 2, 0);
    Put(frame, 2, r.GroupNumber, u"Код группы");
    PutConst(frame, 2, r.IsWeightGoods ? 0 : 1);
    Put(frame, 2, r.ShelfLife, u"Срок годности");
    Put(frame, 2, r.SellByDate, u"Срок реализации");
    Put(frame, 2, r.TextID, u"ID дополнительного текста");
    return Finish(std::move(frame), fw);
}

TByteString WriteTareFrame(int32_t fw, int32_t LTareNumber, int32_t LTareWeight) {
    TByteString frame = FrameHeader(kWriteTare);
    Put(frame, 2, LTareNumber, u"Номер тары");
    Put(frame, 4, LTareWeight, u"Вес тары");
    return Finish(std::move(frame), fw);
}

TByteString WriteCompanyFrame(int32_t fw, std::u16string_view AName) {
    const std::u16string text = cf::ReplaceAll(AName, u"##15##", std::u16string(1, kMarker15Byte));
    TByteString frame = FrameHeader(kWriteCompany);
    PutConst(frame, 2, 1);
    frame += StrToCP866(Text(text, kCompanyWidth));
    return Finish(std::move(frame), fw);
}

TByteString WriteAdditionalTextFrame(int32_t fw, int32_t ATextID, std::u16string_view AValue) {
    std::u16string text = cf::ReplaceAll(AValue, u"||", std::u16string(1, kLineBreakByte));
    text = cf::ReplaceAll(text, u"##15##", std::u16string(1, kMarker15Byte));
    TByteString frame = FrameHeader(kWriteAdditionalText);
    Put(frame, 2, ATextID, u"ID дополнительного текста");
    frame += StrToCP866(Text(text, kAdditionalTextWidth));
    return Finish(std::move(frame), fw);
}

TByteString WriteDateTimeFrame(int32_t fw, double ADateTime) {
    // Years 1..9999, as the date-time type allows.
    if (!std::isfinite(ADateTime) || ADateTime < -693593.0 || ADateTime >= 2958466.0) {
        throw cf::Exception(u"Некорректные дата и время для весов");
    }
    const cf::DateTimeParts p = cf::DecodeDateTime(ADateTime);
    TByteString frame = FrameHeader(kWriteDateTime);
    for (int value : {int(p.Day), int(p.Month), p.Year % 100, int(p.Hour), int(p.Minute), int(p.Second)}) {
        PutConst(frame, 1, value);
    }
    return Finish(std::move(frame), fw);
}

TByteString WriteOperatorOptionsFrame(int32_t fw, const TOperatorOptions& o) {
    TByteString frame = FrameHeader(kWriteOperatorOptions);
    PutConst(frame, 2, 0);
    Put(frame, 1, o.Printer_Media, u"Носитель печати");
    frame += TByteString{0x00, 0x01, 0x00, 0x01};
    Put(frame, 1, o.TicketSetting0, u"Настройки этикетки");
    Put(frame, 1, o.Running_Message, u"Бегущая строка");
    Put(frame, 1, o.Use_Key, u"Использование кнопки");
    Put(frame, 1, o.TicketSetting1, u"Настройки чека");
    return Finish(std::move(frame), fw);
}

namespace {

struct TFlagBit {
    int32_t TOperatorOptions::*Field;
    int32_t Bit;
};

TFlagBit BitOf(TOperatorFlag AFlag) {
    using F = TOperatorFlag;
    using O = TOperatorOptions;
    switch (AFlag) {
        case F::Barcode: return {&O::TicketSetting0, 0x01};
        case F::BarcodeOnStub: return {&O::TicketSetting0, 0x02};
        case F::TotalWeight: return {&O::TicketSetting0, 0x04};
        case F::PLUNumber: return {&O::TicketSetting0, 0x08};
        case F::Stub: return {&O::TicketSetting0, 0x10};
        case F::Header: return {&O::TicketSetting0, 0x20};
        case F::Footer: return {&O::TicketSetting0, 0x40};
        case F::RunningMessage: return {&O::Running_Message, 0x80};
        case F::PriceKey: return {&O::Use_Key, 0x10};
        case F::TicketNo: return {&O::TicketSetting1, 0x02};
        case F::PackingMode: return {&O::TicketSetting1, 0x08};
        case F::Tare: return {&O::TicketSetting1, 0x40};
    }
    return {&O::TicketSetting0, 0};
}

// One-line firmware: the code of each date format by its index (index 0: not printed).
constexpr std::array<std::array<int32_t, 5>, 3> kOneLineDateCodes{{
    {0, 0x01, 0x04, 0x05, 0},       // package
    {0, 0x08, 0x20, 0x28, 0x30},    // best before
    {0, 0x40, 0x100, 0x140, 0x180}, // sell by
}};
// Two-line firmware: one flag per printed date.
constexpr std::array<int32_t, 3> kTwoLineDateFlags{0x01, 0x08, 0x40};

}  // namespace

void SetOperatorFlag(TOperatorOptions& AOptions, TOperatorFlag AFlag) {
    const TFlagBit bit = BitOf(AFlag);
    AOptions.*bit.Field |= bit.Bit;
}

int32_t PrintFormatBits(int32_t AFirmwareType, TLabelDate ADate, int AChoice) {
    const auto date = static_cast<std::size_t>(ADate);
    if (AFirmwareType == 0) {
        const std::array<int32_t, 5>& codes = kOneLineDateCodes[date];
        return AChoice >= 0 && AChoice < static_cast<int>(codes.size()) ? codes[static_cast<std::size_t>(AChoice)] : 0;
    }
    if (AFirmwareType == 1) return AChoice >= 0 ? kTwoLineDateFlags[date] : 0;
    return 0;
}

TByteString WriteOpersFrame(int32_t fw, int AIndex, std::u16string_view AOperators) {
    TByteString frame = FrameHeader(kWriteOpers);
    PutConst(frame, 2, AIndex);
    frame += StrToCP866(Text(ExtractField(AOperators, AIndex + 1), kOperatorNameWidth));
    return Finish(std::move(frame), fw);
}

TByteString WriteDateTextFrame(int32_t fw, int AIndex, std::u16string_view ADate) {
    TByteString frame = FrameHeader(kWriteDateText);
    PutConst(frame, 2, AIndex);
    frame += TextToOem(Text(ExtractField(ADate, AIndex), kDateTextWidth));
    return Finish(std::move(frame), fw);
}

TByteString WriteBarcodeFormatFrame(int32_t fw, std::u16string_view ABarcode, std::u16string_view APrefix) {
    std::u16string layout;
    for (char16_t c : ABarcode) {
        if (c != u'X' && c != u' ') layout += c;
    }
    const std::u16string data = u"\u0002" u"0" + std::u16string(APrefix) + layout + u"C";
    return Finish(FrameHeader(kWriteBarcodeFormat) + StrToCP866(Text(data, kBarcodeFormatWidth)), fw);
}

TByteString WriteLabelOptionsFrame(int32_t fw, const TLabelOptions& o) {
    CheckFirmwareType(fw);
    TByteString frame = FrameHeader(kWriteLabelOptions);
    frame += TByteString{0x02, 0x00, 0x01, 0x00, 0x00, 0x00};
    Put(frame, 1, o.FontPLU1, u"Шрифт первой строки наименования");
    if (fw == 0) {
        Put(frame, 1, o.FontDopText, u"Шрифт дополнительного текста");
        Put(frame, 1, o.PrintStoreAddress, u"Печать наименования магазина");
        frame += TByteString{0x00, 0x01, 0x02, 0x03, 0x00};
    } else {
        Put(frame, 1, o.FontPLU2, u"Шрифт второй строки наименования");
        Put(frame, 1, o.FontDopText, u"Шрифт дополнительного текста");
        Put(frame, 1, o.PrintStoreAddress, u"Печать наименования магазина");
        frame += TByteString{0x03, 0x01, 0x02, 0x03};
    }
    Put(frame, 2, o.PrintFormat, u"Формат печати дат");
    PutConst(frame, 2, 0);
    return Finish(std::move(frame), fw);
}

TByteString PrepackLabelOptionsFrame(int32_t fw, const TByteString& AFirstFrame) {
    TByteString frame = AFirstFrame.substr(0, AFirstFrame.size() - std::min(AFirstFrame.size(), kCrcSize));
    if (frame.size() > kHeaderSize) frame[kHeaderSize] = static_cast<char>(kLabelOptionsPrepack);
    return Finish(std::move(frame), fw);
}

}  // namespace device
