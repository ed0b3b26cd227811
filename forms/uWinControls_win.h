// Building and reading the standard controls of the library's windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace forms::win {

// The windows' font: Tahoma of 8 points at 96 DPI, Cyrillic included.
class TFont {
public:
    explicit TFont(bool ABold = false);
    ~TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;
    HFONT Handle() const { return FHandle; }

private:
    HFONT FHandle;
};

struct TBounds {
    int X, Y, Width, Height;
};

// A visible child control in the parent's client pixels, with the font.
HWND AddControl(HWND AParent, const wchar_t* AClass, const std::u16string& AText, DWORD AStyle, TBounds ABounds,
                int AId, HFONT AFont, DWORD AExStyle = 0);

// Replaces the items of a combo box when they differ; keeps the choice otherwise.
void SetComboItems(HWND ACombo, const std::vector<std::u16string>& AItems);
// -1: no item.
void SetComboIndex(HWND ACombo, int AIndex);
int ComboIndex(HWND ACombo);

bool Checked(HWND AButton);
void SetChecked(HWND AButton, bool AChecked);

}  // namespace forms::win
