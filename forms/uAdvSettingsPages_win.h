// The controls of the advanced settings dialog: where each sits, and which
// field of the dialog's state each one shows.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "forms/uAdvSettingsChecks.h"
#include "forms/uAdvSettingsState.h"

namespace forms::win {

struct TCheckBinding {
    HWND Control;
    const TCheckControl* Check;
};

struct TTextBinding {
    HWND Control;
    std::u16string TAdvSettingsState::*Field;
};

struct TListBinding {
    HWND Control;
    TChoiceList TAdvSettingsState::*Field;
};

struct TAdvSettingsControls {
    HWND Pages = nullptr;
    std::array<HWND, 4> PagePanels{};
    HWND Date = nullptr, Time = nullptr, Opers = nullptr, LabelTemplatePath = nullptr;
    std::vector<HWND> PLU2Group;  // edPLU2, its spin buttons and lbPLU2
    std::vector<TCheckBinding> Checks;
    std::vector<TTextBinding> Texts;
    std::vector<TListBinding> Lists;
};

// Creates every control of the dialog AWindow; the pages are windows of APageClass.
TAdvSettingsControls CreateAdvSettingsControls(HWND AWindow, const wchar_t* APageClass, HFONT AFont, HFONT ABold);

// The pages' window procedure: their controls' notifications go to the dialog.
LRESULT CALLBACK PageProc(HWND AWindow, UINT AMessage, WPARAM AW, LPARAM AL);

}  // namespace forms::win
