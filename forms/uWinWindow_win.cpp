#include "forms/uWinWindow_win.h"

#include "forms/uWinModal_win.h"
#include "lib/cf/Exception.h"

namespace forms::win {

std::u16string TextOf(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return std::u16string(text.begin(), text.end());
}

void SetText(HWND control, const std::u16string& text) { SetWindowTextW(control, Wide(text)); }

void ShowError(HWND AOwner, const std::u16string& AMessage) noexcept {
    try {
        MessageBoxW(AOwner, Wide(AMessage), L"Ошибка", MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxW(AOwner, L"Недостаточно памяти", L"Ошибка", MB_OK | MB_ICONERROR);
    }
}

void ShowCurrentError(HWND AOwner) noexcept {
    try {
        ShowError(AOwner, cf::CurrentExceptionMessage());
    } catch (...) {
        ShowError(AOwner, u"Недостаточно памяти");
    }
}

TWindowClass::TWindowClass(const wchar_t* AName, WNDPROC AProc, HBRUSH ABackground) : FName(AName) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(OwnModule(), AName, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = AProc;
    wc.hInstance = OwnModule();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = ABackground;
    wc.lpszClassName = AName;
    if (!RegisterClassExW(&wc)) throw cf::Exception(u"Не удалось зарегистрировать класс окна");
    FOwned = true;
}

TWindowClass::~TWindowClass() {
    if (FOwned) UnregisterClassW(FName, OwnModule());
}

TWinWindow::~TWinWindow() { DestroyHandle(); }

void TWinWindow::DestroyHandle() {
    if (!FHandle) return;
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
    FHandle = nullptr;
}

void TWinWindow::CreateTopLevel(const TWindowClass& AClass, const std::u16string& ACaption, DWORD AStyle,
                                DWORD AExStyle, HWND AOwner, int AWidth, int AHeight) {
    RECT frame{0, 0, AWidth, AHeight};
    AdjustWindowRectEx(&frame, AStyle, FALSE, AExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - width) / 2;
    const int y = work.top + (work.bottom - work.top - height) / 2;
    CreateWindowExW(AExStyle, AClass.Name(), Wide(ACaption), AStyle, x, y, width, height, AOwner, nullptr,
                    OwnModule(), this);
    if (!FHandle) throw cf::Exception(u"Не удалось создать окно «" + ACaption + u"»");
}

void TWinWindow::ShowModal() { RunModal(FHandle, FClosed); }

LRESULT TWinWindow::HandleMessage(UINT AMessage, WPARAM AW, LPARAM AL) {
    if (AMessage == WM_CLOSE) {
        Close();
        return 0;
    }
    if (AMessage == DM_GETDEFID && GetDlgItem(FHandle, IDOK)) return MAKELRESULT(IDOK, DC_HASDEFID);
    return DefWindowProcW(FHandle, AMessage, AW, AL);
}

LRESULT CALLBACK TWinWindow::Proc(HWND AWindow, UINT AMessage, WPARAM AW, LPARAM AL) {
    auto* self = reinterpret_cast<TWinWindow*>(GetWindowLongPtrW(AWindow, GWLP_USERDATA));
    if (AMessage == WM_NCCREATE) {
        self = static_cast<TWinWindow*>(reinterpret_cast<CREATESTRUCTW*>(AL)->lpCreateParams);
        self->FHandle = AWindow;
        SetWindowLongPtrW(AWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(AWindow, AMessage, AW, AL);
    try {
        return self->HandleMessage(AMessage, AW, AL);
    } catch (...) {
        ShowCurrentError(AWindow);
        return 0;
    }
}

}  // namespace forms::win
