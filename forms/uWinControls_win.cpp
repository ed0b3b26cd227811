#include "forms/uWinControls_win.h"

#include "forms/uWinWindow_win.h"
#include "lib/cf/Exception.h"

namespace forms::win {

namespace {

// 8 points at 96 DPI: the client sizes are given in pixels at that density.
constexpr int kFontHeight = -11;

std::vector<std::u16string> ComboItems(HWND combo) {
    std::vector<std::u16string> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        items.emplace_back(text.begin(), text.end());
    }
    return items;
}

}  // namespace

TFont::TFont(bool ABold)
    : FHandle(CreateFontW(kFontHeight, 0, 0, 0, ABold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          L"Tahoma")) {}

TFont::~TFont() {
    if (FHandle) DeleteObject(FHandle);
}

HWND AddControl(HWND AParent, const wchar_t* AClass, const std::u16string& AText, DWORD AStyle, TBounds ABounds,
                int AId, HFONT AFont, DWORD AExStyle) {
    HWND control = CreateWindowExW(AExStyle, AClass, Wide(AText), AStyle | WS_CHILD | WS_VISIBLE, ABounds.X,
                                   ABounds.Y, ABounds.Width, ABounds.Height, AParent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(AId)), OwnModule(), nullptr);
    if (!control) throw cf::Exception(u"Не удалось создать элемент окна «" + AText + u"»");
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(AFont), FALSE);
    return control;
}

void SetComboItems(HWND ACombo, const std::vector<std::u16string>& AItems) {
    if (ComboItems(ACombo) == AItems) return;
    SendMessageW(ACombo, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& item : AItems)
        SendMessageW(ACombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item)));
}

void SetComboIndex(HWND ACombo, int AIndex) {
    if (ComboIndex(ACombo) != AIndex) SendMessageW(ACombo, CB_SETCURSEL, static_cast<WPARAM>(AIndex), 0);
}

int ComboIndex(HWND ACombo) { return static_cast<int>(SendMessageW(ACombo, CB_GETCURSEL, 0, 0)); }

bool Checked(HWND AButton) { return SendMessageW(AButton, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND AButton, bool AChecked) {
    SendMessageW(AButton, BM_SETCHECK, AChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace forms::win
