#include "forms/uAdvSettingsRecords.h"

#include <array>

#include "common/uPaths.h"
#include "device/uSystemCodePages.h"
#include "forms/ufmOpersEditTiger.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace forms {

namespace {

constexpr std::size_t kDateTextLength = 30;

// Codes of the one-line firmware's date formats by item index (index 0: not printed).
constexpr std::array<int32_t, 5> kPackageDateCodes{0, 0x01, 0x04, 0x05, 0};
constexpr std::array<int32_t, 5> kBestBeforeDateCodes{0, 0x08, 0x20, 0x28, 0x30};
constexpr std::array<int32_t, 5> kSellByDateCodes{0, 0x40, 0x100, 0x140, 0x180};
// Two-line firmware: one flag per printed date.
constexpr int32_t kPackageDateFlag = 0x01, kBestBeforeDateFlag = 0x08, kSellByDateFlag = 0x40;

int32_t CodeOf(const TChoiceList& list, const std::array<int32_t, 5>& codes) {
    const int index = list.ResolvedIndex();
    return index >= 0 && index < static_cast<int>(codes.size()) ? codes[static_cast<std::size_t>(index)] : 0;
}

int32_t FlagIfChosen(const TChoiceList& list, int32_t flag) { return list.ResolvedIndex() >= 0 ? flag : 0; }

std::string ShortAnsiString(const std::u16string& text) {
    return device::TextToAnsi(std::u16string_view(text).substr(0, kDateTextLength));
}

}  // namespace

device::TOperatorOptions OperatorOptionsOf(const TAdvSettingsState& s) {
    device::TOperatorOptions o;
    const int media = s.PrinterMedia.ItemIndex;
    o.Printer_Media = media >= 0 && media <= 2 ? media : 0;
    o.TicketSetting0 = (s.Barcode ? 0x01 : 0) | (s.BarcodeOnStub ? 0x02 : 0) | (s.TotalWeight ? 0x04 : 0) |
                       (s.PLUNumber ? 0x08 : 0) | (s.Stub ? 0x10 : 0) | (s.Header ? 0x20 : 0) |
                       (s.Footer ? 0x40 : 0);
    o.Running_Message = s.RunningMessage ? 0x80 : 0;
    o.Use_Key = s.Price2 ? 0x10 : 0;
    o.TicketSetting1 = (s.TicketNo ? 0x02 : 0) | (s.Power2 ? 0x08 : 0) | (s.Tare ? 0x40 : 0);
    return o;
}

int32_t PrintFormatOf(const TAdvSettingsState& s, int32_t AFirmwareType) {
    if (AFirmwareType == 0)
        return CodeOf(s.PackageDate, kPackageDateCodes) | CodeOf(s.BestBeforeDate, kBestBeforeDateCodes) |
               CodeOf(s.SellByDate, kSellByDateCodes);
    if (AFirmwareType == 1)
        return FlagIfChosen(s.PackageDate, kPackageDateFlag) | FlagIfChosen(s.BestBeforeDate, kBestBeforeDateFlag) |
               FlagIfChosen(s.SellByDate, kSellByDateFlag);
    return 0;
}

device::TLabelOptions LabelOptionsOf(const TAdvSettingsState& s, int32_t AFirmwareType) {
    device::TLabelOptions o;
    o.PackadgeDateText = ShortAnsiString(s.PackageDateText);
    o.BestBeforeDateText = ShortAnsiString(s.BestBeforeDateText);
    o.SellByDateText = ShortAnsiString(s.SellByDateText);
    o.PrintFormat = PrintFormatOf(s, AFirmwareType);
    o.PrintStoreAddress = s.StoreAddress ? 1 : 0;
    o.FontPLU1 = FontValue(s.PLU1, u"Шрифт 1-й строки наименования");
    o.FontPLU2 = FontValue(s.PLU2, u"Шрифт 2-й строки наименования");
    o.FontDopText = FontValue(s.DopText, u"Шрифт дополнительного текста");
    return o;
}

std::u16string OperatorsTextOf(const TAdvSettingsState& s) {
    std::u16string text;
    for (int row = 0; row < kOperatorRows; ++row) {
        const std::u16string& name = s.Operators[static_cast<std::size_t>(row)];
        if (name.size() > kOperatorNameLength)
            throw cf::Exception(u"Имя оператора " + cf::IntToStr(row) + u" длиннее " +
                                cf::IntToStr(static_cast<int64_t>(kOperatorNameLength)) + u" символов: «" + name + u"»");
        if (row > 0) text += u'|';
        text += name;
    }
    return text;
}

std::u16string DateTextsOf(const TAdvSettingsState& s) {
    return s.PackageDateText + u'|' + s.BestBeforeDateText + u'|' + s.SellByDateText;
}

int32_t FontValue(const std::u16string& AText, const char16_t* ACaption) {
    int32_t value = 0;
    bool digits = !AText.empty() && AText.size() <= static_cast<std::size_t>(kFontDigits);
    for (char16_t c : AText) {
        digits = digits && c >= u'0' && c <= u'9';
        value = value * 10 + (c - u'0');
    }
    if (!digits || value < kFontMin || value > kFontMax)
        throw cf::Exception(std::u16string(ACaption) + u": нужно число от " + cf::IntToStr(kFontMin) + u" до " +
                            cf::IntToStr(kFontMax) + u", указано «" + AText + u"»");
    return value;
}

std::u16string LabelTemplateFile(const std::u16string& AFolder) {
    return common::IncludeTrailingPathDelimiter(AFolder) + u"Labels.mtt";
}

}  // namespace forms
