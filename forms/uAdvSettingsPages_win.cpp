#include "forms/uAdvSettingsPages_win.h"

#include <commctrl.h>

#include "forms/uControlIds.h"
#include "forms/uWinControls_win.h"
#include "forms/uWinWindow_win.h"

namespace forms::win {

namespace {

constexpr int kListHeight = 200;  // a drop-down list's height with its items shown
constexpr int kCheckPitch = 20;   // from one row of check boxes to the next

// Adds controls to one parent with the dialog's font.
struct TBuilder {
    HWND Parent;
    HFONT Font;

    // Every control starts a group of its own but the second of two radio buttons.
    HWND Add(const wchar_t* AClass, const std::u16string& AText, DWORD AStyle, TBounds ABounds, int AId = -1,
             DWORD AExStyle = 0, bool AGroupStart = true) const {
        return AddControl(Parent, AClass, AText, AStyle | (AGroupStart ? WS_GROUP : 0), ABounds, AId, Font, AExStyle);
    }
    HWND Label(const std::u16string& AText, TBounds ABounds, int AId = -1) const {
        return Add(WC_STATICW, AText, 0, ABounds, AId);
    }
    HWND Group(const std::u16string& AText, TBounds ABounds) const {
        return Add(WC_BUTTONW, AText, BS_GROUPBOX, ABounds);
    }
    // A check box, or one of a pair of radio buttons: the pair is one group.
    HWND Toggle(const TCheckControl& ACheck, TBounds ABounds) const {
        if (ACheck.Kind == TCheckKind::Check)
            return Add(WC_BUTTONW, ACheck.Caption, BS_AUTOCHECKBOX | WS_TABSTOP, ABounds, ACheck.Id);
        const bool first = ACheck.Kind == TCheckKind::RadioFirst;
        return Add(WC_BUTTONW, ACheck.Caption, BS_AUTORADIOBUTTON | (first ? WS_TABSTOP : 0), ABounds, ACheck.Id, 0,
                   first);
    }
    HWND Edit(TBounds ABounds, int AId, DWORD AStyle = ES_AUTOHSCROLL) const {
        return Add(WC_EDITW, u"", AStyle | WS_TABSTOP, ABounds, AId, WS_EX_CLIENTEDGE);
    }
    // CBS_DROPDOWNLIST accepts only a choice; CBS_DROPDOWN also typing.
    HWND List(TBounds ABounds, int AId, DWORD AKind = CBS_DROPDOWNLIST) const {
        return Add(WC_COMBOBOXW, u"", AKind | WS_VSCROLL | WS_TABSTOP, {ABounds.X, ABounds.Y, ABounds.Width, kListHeight},
                   AId);
    }
    // A spin field: one or two digits, 1 to 20; answers the field and its buttons.
    std::array<HWND, 2> Spin(TBounds ABounds, int AId) const {
        HWND edit = Edit(ABounds, AId, ES_NUMBER);
        SendMessageW(edit, EM_LIMITTEXT, kFontDigits, 0);
        HWND buttons = Add(UPDOWN_CLASSW, u"",
                           UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_AUTOBUDDY,
                           {0, 0, 0, 0}, -1, 0, false);
        SendMessageW(buttons, UDM_SETRANGE32, kFontMin, kFontMax);
        SendMessageW(buttons, UDM_SETPOS32, 0, kFontMin);
        return {edit, buttons};
    }
};

// The check boxes of AGroup: AFirst is the cell of column 0, row 0; the
// columns are AColumnPitch pixels apart.
void AddChecks(const TBuilder& b, TAdvSettingsControls& c, TCheckGroup AGroup, TBounds AFirst, int AColumnPitch = 0) {
    for (const TCheckControl& check : CheckControls()) {
        if (check.Group != AGroup) continue;
        const TBounds where{AFirst.X + check.Column * AColumnPitch, AFirst.Y + check.Row * kCheckPitch, AFirst.Width,
                            AFirst.Height};
        c.Checks.push_back({b.Toggle(check, where), &check});
    }
}

HWND AddPanel(HWND AWindow, const wchar_t* AClass, const RECT& AArea) {
    HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, AClass, L"", WS_CHILD | WS_CLIPSIBLINGS, AArea.left, AArea.top,
                                 AArea.right - AArea.left, AArea.bottom - AArea.top, AWindow, nullptr, OwnModule(),
                                 nullptr);
    SetWindowPos(panel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return panel;
}

void CreateConfigurationPage(const TBuilder& b, TAdvSettingsControls& c) {
    b.Group(u"Основной режим", {8, 4, 368, 62});
    AddChecks(b, c, TCheckGroup::Mode, {20, 22, 340, 17});
    b.Label(u"Тип бумаги", {8, 78, 110, 16});
    c.Lists.push_back({b.List({120, 74, 256, 0}, ids::kPrinterMedia), &TAdvSettingsState::PrinterMedia});
    AddChecks(b, c, TCheckGroup::Configuration, {8, 102, 368, 17});
    b.Group(u" Ручной ввод цены ", {8, 124, 368, 62});
    AddChecks(b, c, TCheckGroup::PriceEntry, {20, 142, 340, 17});
    b.Group(u" Параметры чека ", {8, 194, 368, 122});
    AddChecks(b, c, TCheckGroup::Receipt, {20, 212, 170, 17}, 180);
}

void CreateParametersPage(const TBuilder& b, TAdvSettingsControls& c) {
    using S = TAdvSettingsState;
    b.Label(u"Имя магазина:", {8, 8, 368, 16});
    c.Texts.push_back({b.Edit({8, 26, 368, 90}, ids::kMagazName,
                              ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL),
                       &S::MagazName});
    AddChecks(b, c, TCheckGroup::Parameters, {8, 124, 368, 17});
    b.Group(u" Установка даты и времени ", {8, 150, 368, 112});
    b.Label(u"Дата:", {20, 174, 56, 16});
    c.Date = b.Add(DATETIMEPICK_CLASSW, u"", DTS_SHORTDATEFORMAT | WS_TABSTOP, {80, 170, 130, 22}, ids::kDate);
    b.Label(u"Время:", {20, 204, 56, 16});
    c.Time = b.Add(DATETIMEPICK_CLASSW, u"", DTS_TIMEFORMAT | WS_TABSTOP, {80, 200, 130, 22}, ids::kTime);
    AddChecks(b, c, TCheckGroup::Clock, {20, 234, 340, 17});
}

void CreateOperatorsPage(const TBuilder& b, TAdvSettingsControls& c) {
    b.Group(u" Операторы ", {8, 4, 368, 300});
    c.Opers = b.Add(WC_LISTVIEWW, u"",
                    LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP,
                    {20, 24, 344, 236}, ids::kOpers);
    SendMessageW(c.Opers, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const std::pair<const wchar_t*, int> columns[] = {{L"Номер", 70}, {L"Имя", 250}};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(columns[i].first);
        column.cx = columns[i].second;
        SendMessageW(c.Opers, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    for (int row = 0; row < kOperatorRows; ++row) {
        std::wstring number = std::to_wstring(row);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = number.data();
        SendMessageW(c.Opers, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    b.Add(WC_BUTTONW, u"Редактировать", BS_PUSHBUTTON | WS_TABSTOP, {264, 268, 100, 25}, ids::kOperEdit);
}

void CreateAdditionalPage(const TBuilder& b, TAdvSettingsControls& c) {
    using S = TAdvSettingsState;
    struct TDateRow {
        const char16_t* Caption;
        int ListId, TextId;
        TChoiceList S::*List;
        std::u16string S::*Text;
    };
    const TDateRow dates[] = {
        {u"Дата упаковки:", ids::kPackageDate, ids::kPackageDateText, &S::PackageDate, &S::PackageDateText},
        {u"Использовать до:", ids::kBestBeforeDate, ids::kBestBeforeDateText, &S::BestBeforeDate,
         &S::BestBeforeDateText},
        {u"Дата продажи:", ids::kSellByDate, ids::kSellByDateText, &S::SellByDate, &S::SellByDateText}};
    for (int i = 0; i < 3; ++i) {
        const int y = 8 + i * 27;
        b.Label(dates[i].Caption, {8, y + 4, 110, 16});
        c.Lists.push_back({b.List({118, y, 112, 0}, dates[i].ListId, CBS_DROPDOWN), dates[i].List});
        b.Label(u"Текст:", {238, y + 4, 40, 16});
        c.Texts.push_back({b.Edit({278, y, 98, 21}, dates[i].TextId), dates[i].Text});
    }
    struct TFontRow {
        const char16_t* Caption;
        int Id;
        std::u16string S::*Field;
    };
    const TFontRow fonts[] = {{u"Шрифт 1-й строки наименования:", ids::kPLU1, &S::PLU1},
                              {u"Шрифт 2-й строки наименования:", ids::kPLU2, &S::PLU2},
                              {u"Шрифт дополнительного текста:", ids::kDopText, &S::DopText}};
    for (int i = 0; i < 3; ++i) {
        const int y = 92 + i * 26;
        HWND label = b.Label(fonts[i].Caption, {8, y + 4, 250, 16}, i == 1 ? ids::kPLU2Label : -1);
        const std::array<HWND, 2> spin = b.Spin({278, y, 56, 21}, fonts[i].Id);
        c.Texts.push_back({spin[0], fonts[i].Field});
        if (i == 1) c.PLU2Group = {spin[0], spin[1], label};
    }
    b.Label(u"Этикетка:", {8, 176, 110, 16});
    c.Lists.push_back({b.List({118, 172, 258, 0}, ids::kLabelFormat), &S::LabelFormat});
    b.Label(u"Путь к директории шаблона этикеток:", {8, 200, 368, 16});
    c.LabelTemplatePath = b.Edit({8, 218, 340, 21}, ids::kLabelTemplatePath);
    c.Texts.push_back({c.LabelTemplatePath, &S::LabelTemplatePath});
    b.Add(WC_BUTTONW, u"...", BS_PUSHBUTTON | WS_TABSTOP, {351, 217, 25, 23}, ids::kBrowseTemplatePath);
    b.Group(u" Параметры штрихкода ", {8, 248, 368, 82});
    b.Label(u"Формат штрихкода:", {20, 272, 140, 16});
    c.Lists.push_back({b.List({170, 268, 194, 0}, ids::kShkFormat), &S::ShkFormat});
    b.Label(u"Префикс штрихкода (X):", {20, 302, 140, 16});
    c.Texts.push_back({b.Edit({170, 298, 80, 21}, ids::kShkPref), &S::ShkPref});
}

}  // namespace

TAdvSettingsControls CreateAdvSettingsControls(HWND AWindow, const wchar_t* APageClass, HFONT AFont, HFONT ABold) {
    TAdvSettingsControls c;
    const TBuilder main{AWindow, AFont};
    main.Group(u"", {8, 2, 392, 52});
    HWND title = main.Label(u"Тип прошивки весов:", {18, 24, 140, 16});
    SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(ABold), FALSE);
    c.Lists.push_back({main.List({160, 20, 230, 0}, ids::kFirmWare), &TAdvSettingsState::FirmWare});

    c.Pages = main.Add(WC_TABCONTROLW, u"", WS_TABSTOP | WS_CLIPSIBLINGS, {8, 62, 392, 366}, ids::kPages);
    const wchar_t* captions[] = {L"Конфигурация", L"Параметры", L"Операторы", L"Дополнительно"};
    for (int i = 0; i < 4; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        SendMessageW(c.Pages, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    RECT area{8, 62, 8 + 392, 62 + 366};
    SendMessageW(c.Pages, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    void (*const pages[])(const TBuilder&, TAdvSettingsControls&) = {CreateConfigurationPage, CreateParametersPage,
                                                                     CreateOperatorsPage, CreateAdditionalPage};
    for (int i = 0; i < 4; ++i) {
        c.PagePanels[static_cast<std::size_t>(i)] = AddPanel(AWindow, APageClass, area);
        pages[i]({c.PagePanels[static_cast<std::size_t>(i)], AFont}, c);
    }
    // Not the default button: Enter in a field must not write to the scale.
    main.Add(WC_BUTTONW, u"OK", BS_PUSHBUTTON | WS_TABSTOP, {244, 438, 75, 25}, ids::kOk);
    main.Add(WC_BUTTONW, u"Отмена", BS_PUSHBUTTON | WS_TABSTOP, {325, 438, 75, 25}, ids::kCancel);
    return c;
}

LRESULT CALLBACK PageProc(HWND AWindow, UINT AMessage, WPARAM AW, LPARAM AL) {
    if (AMessage == WM_COMMAND || AMessage == WM_NOTIFY)
        return SendMessageW(GetParent(AWindow), AMessage, AW, AL);
    return DefWindowProcW(AWindow, AMessage, AW, AL);
}

}  // namespace forms::win
