// Modal showing as the platform's users know it, and the common controls of
// version 6 for the windows the library creates.
#pragma once

#include <windows.h>

#include <vector>

namespace forms::win {

// The library's manifest resource that asks for common controls version 6.
inline constexpr int kCommonControlsManifestId = 123;

// Activates the library's manifest for the windows created while it lives
// (without it the library's windows would get the old controls whatever the
// host's own manifest says) and registers the control classes used. The
// library does not import comctl32: it is loaded here, inside the context.
class TCommonControlsScope {
public:
    TCommonControlsScope();
    ~TCommonControlsScope();
    TCommonControlsScope(const TCommonControlsScope&) = delete;
    TCommonControlsScope& operator=(const TCommonControlsScope&) = delete;

private:
    HANDLE FContext = INVALID_HANDLE_VALUE;
    HMODULE FLibrary = nullptr;
    ULONG_PTR FCookie = 0;
    bool FActive = false;
};

// Shows AWindow and runs its messages on the calling thread until AClosed
// turns true. Meanwhile the thread's other top-level windows are disabled, so
// the host cannot call in again from its own window; afterwards they are
// enabled again, AWindow is hidden and the window that was active before is
// active again.
void RunModal(HWND AWindow, const bool& AClosed);

// The same discipline while a modal window runs on another thread: the
// calling thread's top-level windows are disabled and its messages keep
// running until AHandle is signalled.
void WaitModal(HANDLE AHandle);

}  // namespace forms::win
