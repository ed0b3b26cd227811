// What every Win32 view shares: the library's module and wide text (from
// common), text read back from controls, window classes registered for one
// showing, and the shielded window procedure: nothing a handler raises
// escapes into the message loop; it is shown in the "Ошибка" message box.
#pragma once

#include <windows.h>

#include <string>

#include "common/uWinApi_win.h"

namespace forms::win {

using common::OwnModule;
using common::Wide;

std::u16string TextOf(HWND control);
void SetText(HWND control, const std::u16string& text);

// The error icon box owned by AOwner, captioned "Ошибка". Never raises.
void ShowError(HWND AOwner, const std::u16string& AMessage) noexcept;
// The same for the exception being handled; call only inside a catch block.
void ShowCurrentError(HWND AOwner) noexcept;

// A window class registered for as long as the object lives: a library
// loaded again may sit elsewhere, so no class outlives one showing.
class TWindowClass {
public:
    TWindowClass(const wchar_t* AName, WNDPROC AProc, HBRUSH ABackground);
    ~TWindowClass();
    TWindowClass(const TWindowClass&) = delete;
    TWindowClass& operator=(const TWindowClass&) = delete;
    const wchar_t* Name() const { return FName; }

private:
    const wchar_t* FName;
    bool FOwned = false;
};

// A top-level window whose messages reach HandleMessage through the shield.
class TWinWindow {
public:
    virtual ~TWinWindow();
    HWND Handle() const { return FHandle; }

protected:
    TWinWindow() = default;
    // Creates the window with its client area of AWidth by AHeight pixels,
    // centred on the screen, hidden.
    void CreateTopLevel(const TWindowClass& AClass, const std::u16string& ACaption, DWORD AStyle, DWORD AExStyle,
                        HWND AOwner, int AWidth, int AHeight);
    // Views call it in their destructor: the window goes before their window class.
    void DestroyHandle();
    // Runs the window modally (RunModal) until it is closed.
    void ShowModal();
    void Close() { FClosed = true; }
    // Closing ends the modal run; Enter means the OK button, when there is one.
    virtual LRESULT HandleMessage(UINT AMessage, WPARAM AW, LPARAM AL);
    static LRESULT CALLBACK Proc(HWND AWindow, UINT AMessage, WPARAM AW, LPARAM AL);

    HWND FHandle = nullptr;
    bool FClosed = false;
};

}  // namespace forms::win
