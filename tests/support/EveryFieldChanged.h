// One value for every field of the advanced settings dialog, on one-line
// firmware: the presenter's test checks what OK sends for them byte for byte,
// the window tests type them in and compare what the window sends.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "forms/ufmAdvSettings.h"
#include "lib/cf/DateTime.h"

namespace test_support {

// Labels.mtt in AFolder with the sections [Мясо] and [Рыба] (names in code
// page 1251); "Рыба" holds ALabel in hexadecimal.
inline void WriteLabelTemplates(const std::filesystem::path& AFolder, const std::string& ALabel) {
    std::filesystem::create_directories(AFolder);
    std::string hex;
    for (unsigned char byte : ALabel) hex += "0123456789ABCDEF"[byte >> 4], hex += "0123456789ABCDEF"[byte & 15];
    const std::string meat = "\xCC\xFF\xF1\xEE", fish = "\xD0\xFB\xE1\xE0";
    std::ofstream(AFolder / "Labels.mtt", std::ios::binary)
        << "[" << meat << "]\r\n00\r\n[/" << meat << "]\r\n[" << fish << "]\r\n" << hex << "\r\n[/" << fish << "]\r\n";
}

// Every field changed; the label "Рыба" of the templates in ATemplates.
inline void ChangeEveryField(forms::TfmAdvSettings& ADialog, const std::filesystem::path& ATemplates) {
    forms::TAdvSettingsState& state = ADialog.State();
    ADialog.cbFirmWareChange(0);
    state.Power2 = true;
    state.PrinterMedia.ItemIndex = 0;
    state.RunningMessage = state.Price2 = true;
    state.PLUNumber = state.Barcode = state.Header = state.Tare = true;
    state.MagazName = u"Магазин Ромашка";
    state.StoreAddress = true;
    state.Date = cf::EncodeDateTime({2024, 3, 5, 0, 0, 0, 0});
    state.Time = cf::EncodeDateTime({1899, 12, 30, 14, 7, 9, 0});
    state.Operators = {u"Иванов", u"", u"Петрова", u"", u"Сидоров"};
    state.PackageDate.ItemIndex = 2;
    state.BestBeforeDate.ItemIndex = 3;
    state.SellByDate.ItemIndex = 1;
    state.PackageDateText = u"Упак.";
    state.BestBeforeDateText = u"Годен до";
    state.SellByDateText = u"Продать до";
    state.PLU1 = u"2";
    state.PLU2 = u"5";
    state.DopText = u"13";
    ADialog.LabelTemplatePathChange(ATemplates.u16string());
    state.LabelFormat.ItemIndex = 2;  // Рыба
    state.ShkFormat.ItemIndex = 2;    // XX AAAAA QQQQQ
    state.ShkPref = u"22";
}

}  // namespace test_support
