#include "forms/uWinModal_win.h"

#include <commctrl.h>

#include "forms/uWinWindow_win.h"
#include "lib/cf/Exception.h"

namespace forms::win {

TCommonControlsScope::TCommonControlsScope() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(OwnModule(), path, MAX_PATH);
    ACTCTXW context{};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path;
    context.hModule = OwnModule();
    context.lpResourceName = MAKEINTRESOURCEW(kCommonControlsManifestId);
    FContext = CreateActCtxW(&context);
    // Without the context the windows still work, with the old controls.
    if (FContext != INVALID_HANDLE_VALUE) FActive = ActivateActCtx(FContext, &FCookie) != FALSE;
    // Loaded while the context is active, so that it is the version the manifest asks for.
    FLibrary = LoadLibraryW(L"comctl32.dll");
    using TInit = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = FLibrary ? reinterpret_cast<TInit>(
                                     reinterpret_cast<void*>(GetProcAddress(FLibrary, "InitCommonControlsEx")))
                               : nullptr;
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                      ICC_DATE_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    if (!init || !init(&classes)) throw cf::Exception(u"Не удалось подготовить элементы управления окна (comctl32)");
}

TCommonControlsScope::~TCommonControlsScope() {
    if (FLibrary) FreeLibrary(FLibrary);
    if (FActive) DeactivateActCtx(0, FCookie);
    if (FContext != INVALID_HANDLE_VALUE) ReleaseActCtx(FContext);
}

namespace {

struct TDisabledWindows {
    HWND Keep;
    std::vector<HWND> Windows;

    ~TDisabledWindows() {
        for (HWND window : Windows)
            if (IsWindow(window)) EnableWindow(window, TRUE);
    }
};

BOOL CALLBACK DisableOne(HWND window, LPARAM state) {
    auto* disabled = reinterpret_cast<TDisabledWindows*>(state);
    if (window == disabled->Keep || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    try {
        disabled->Windows.push_back(window);
    } catch (...) {
        return FALSE;  // out of memory: the rest stays enabled rather than disabled for good
    }
    EnableWindow(window, FALSE);
    return TRUE;
}

// Runs one message; false when the thread is asked to quit (the request is passed on).
bool PumpOne(HWND window) {
    MSG message{};
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    if (got < 0) return false;
    if (!IsDialogMessageW(window, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

// Runs the messages that have arrived; false when the thread is asked to quit.
bool PumpWaiting() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

}  // namespace

void RunModal(HWND AWindow, const bool& AClosed) {
    const HWND previous = GetActiveWindow();
    {
        TDisabledWindows disabled{AWindow, {}};
        EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
        ShowWindow(AWindow, SW_SHOWNORMAL);
        SetForegroundWindow(AWindow);
        while (!AClosed && IsWindow(AWindow) && PumpOne(AWindow)) {
        }
    }
    if (IsWindow(AWindow)) ShowWindow(AWindow, SW_HIDE);
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
}

void WaitModal(HANDLE AHandle) {
    const HWND previous = GetActiveWindow();
    {
        TDisabledWindows disabled{nullptr, {}};
        EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
        bool pumping = true;
        for (;;) {
            const DWORD woke = MsgWaitForMultipleObjects(1, &AHandle, FALSE, INFINITE, pumping ? QS_ALLINPUT : 0);
            if (woke == WAIT_OBJECT_0 + 1 && pumping) {
                pumping = PumpWaiting();
                continue;
            }
            // The other thread uses the caller's data: never leave before it ends.
            if (woke != WAIT_OBJECT_0) WaitForSingleObject(AHandle, INFINITE);
            break;
        }
    }
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
}

}  // namespace forms::win
