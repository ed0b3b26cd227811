// Everything the advanced settings dialog shows, as data: one field per
// control value and enabled state, with the dialog's opening defaults.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace forms {

// A drop-down list: its items, the chosen item (-1: none) and, for lists
// that accept typing, the typed text.
struct TChoiceList {
    std::vector<std::u16string> Items;
    int ItemIndex = -1;
    std::u16string Text;

    // The chosen item, or the item the typed text names; -1 when neither.
    int ResolvedIndex() const;
    // The chosen item's text; empty when none is chosen.
    std::u16string SelectedText() const;
};

inline constexpr int kOperatorRows = 5;
inline constexpr int kFontMin = 1;
inline constexpr int kFontMax = 20;
inline constexpr int kFontDigits = 2;

struct TAdvSettingsState {
    TChoiceList FirmWare;  // cbFirmWare
    int PageIndex = 0;     // PageControl1

    // "Конфигурация"
    bool Power2 = false;  // rbPower2; rbPower1 otherwise
    TChoiceList PrinterMedia;
    bool RunningMessage = false;
    bool Price2 = false;  // rbPrice2; rbPrice1 otherwise
    bool PLUNumber = false, Barcode = false, BarcodeOnStub = false, TotalWeight = false, TicketNo = false,
         Header = false, Footer = false, Tare = false, Stub = false;

    // "Параметры"
    std::u16string MagazName;
    bool StoreAddress = false;
    double Date = 0;  // edDate: whole days
    double Time = 0;  // edTime: fraction of a day
    bool CurrentDateTime = false;
    bool DateTimeEnabled = true;  // edDate and edTime

    // "Операторы"
    std::array<std::u16string, kOperatorRows> Operators;
    int SelectedOperator = -1;

    // "Дополнительно"
    TChoiceList PackageDate, BestBeforeDate, SellByDate;
    std::u16string PackageDateText = u"Упаковано";
    std::u16string BestBeforeDateText = u"Годен";
    std::u16string SellByDateText = u"Дата продажи";
    std::u16string PLU1 = u"1", PLU2 = u"1", DopText = u"1";  // spin fields, as typed
    bool PLU2Enabled = true;  // edPLU2, and lbPLU2 with it
    TChoiceList LabelFormat;
    std::u16string LabelTemplatePath;
    TChoiceList ShkFormat;
    std::u16string ShkPref;
};

// The dialog's state at opening, with edDate at AToday.
TAdvSettingsState DefaultAdvSettings(double AToday);

// Item lists of the dialog.
std::vector<std::u16string> FirmWareItems();
std::vector<std::u16string> PrinterMediaItems();
std::vector<std::u16string> PackageDateItems(int AFirmWareItem);
std::vector<std::u16string> DateItems();  // the five-item list of the other two dates
std::vector<std::u16string> BarcodeFormatItems();
inline constexpr char16_t kKeepCurrentLabel[] = u"Оставить текущую";

}  // namespace forms
