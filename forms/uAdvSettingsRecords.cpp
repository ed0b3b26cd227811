#include "forms/uAdvSettingsRecords.h"

#include "common/uPaths.h"
#include "device/uSystemCodePages.h"
#include "forms/uAdvSettingsChecks.h"
#include "forms/ufmOpersEditTiger.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace forms {

namespace {

constexpr std::size_t kDateTextLength = 30;

std::string ShortAnsiString(const std::u16string& text) {
    return device::TextToAnsi(std::u16string_view(text).substr(0, kDateTextLength));
}

}  // namespace

device::TOperatorOptions OperatorOptionsOf(const TAdvSettingsState& s) {
    device::TOperatorOptions o;
    const int media = s.PrinterMedia.ItemIndex;
    o.Printer_Media = media >= 0 && media <= 2 ? media : 0;
    for (const TCheckControl& check : CheckControls())
        if (check.OperatorFlag && s.*check.Field) device::SetOperatorFlag(o, *check.OperatorFlag);
    return o;
}

int32_t PrintFormatOf(const TAdvSettingsState& s, int32_t AFirmwareType) {
    using device::TLabelDate;
    return device::PrintFormatBits(AFirmwareType, TLabelDate::Package, s.PackageDate.ResolvedIndex()) |
           device::PrintFormatBits(AFirmwareType, TLabelDate::BestBefore, s.BestBeforeDate.ResolvedIndex()) |
           device::PrintFormatBits(AFirmwareType, TLabelDate::SellBy, s.SellByDate.ResolvedIndex());
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
