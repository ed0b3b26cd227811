#include "forms/uAdvSettingsState.h"

#include <algorithm>

#include "lib/cf/TextUtils.h"

namespace forms {

int TChoiceList::ResolvedIndex() const {
    if (ItemIndex >= 0 && ItemIndex < static_cast<int>(Items.size())) return ItemIndex;
    if (Text.empty()) return -1;
    const auto found = std::find_if(Items.begin(), Items.end(), [this](const std::u16string& item) {
        return cf::SameText(item, Text);
    });
    return found == Items.end() ? -1 : static_cast<int>(found - Items.begin());
}

std::u16string TChoiceList::SelectedText() const {
    return ItemIndex >= 0 && ItemIndex < static_cast<int>(Items.size()) ? Items[static_cast<std::size_t>(ItemIndex)]
                                                                        : std::u16string();
}

std::vector<std::u16string> FirmWareItems() {
    return {u"1 строка наименования товара", u"2 строки наименования товара"};
}

std::vector<std::u16string> PrinterMediaItems() { return {u"0 Чековая лента", u"1 Этикетка", u"2 Этикетка + отчет"}; }

std::vector<std::u16string> PackageDateItems(int AFirmWareItem) {
    if (AFirmWareItem == 1) return {u"не печатать", u"дд.мм.гггг"};
    return {u"не печатать", u"гггг.мм.дд", u"мм.дд", u"дд.мм.гггг"};
}

std::vector<std::u16string> DateItems() { return {u"не печатать", u"гггг.мм.дд", u"мм.дд", u"дд", u"дд.мм.гггг"}; }

std::vector<std::u16string> BarcodeFormatItems() {
    return {u"XX AAAAA BBBBB", u"XX PPPPP BBBBB", u"XX AAAAA QQQQQ", u"X AAAAAA QQQQQ", u"AAAAAAA QQQQQ"};
}

TAdvSettingsState DefaultAdvSettings(double AToday) {
    TAdvSettingsState state;
    state.FirmWare = {FirmWareItems(), 1, {}};
    state.PrinterMedia = {PrinterMediaItems(), 1, {}};
    state.Date = AToday;
    state.PackageDate = {PackageDateItems(0), 0, {}};
    state.BestBeforeDate = {DateItems(), 0, {}};
    state.SellByDate = {DateItems(), 0, {}};
    state.LabelFormat = {};
    state.ShkFormat = {BarcodeFormatItems(), -1, {}};
    for (TChoiceList* list : {&state.FirmWare, &state.PrinterMedia, &state.PackageDate, &state.BestBeforeDate,
                              &state.SellByDate})
        list->Text = list->SelectedText();
    return state;
}

}  // namespace forms
