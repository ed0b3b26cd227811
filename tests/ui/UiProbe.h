// Drives the library's windows from a second thread by window messages, the
// way a user's clicks arrive, and keeps what it finds wrong for the test
// thread to report. Every wait is bounded.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace ui_tests {

inline constexpr DWORD kWindowWaitMs = 5000;

std::wstring Wide(const std::u16string& text);
std::u16string TextOf(HWND window);  // WM_GETTEXT, as across processes
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kWindowWaitMs);
// The thread's visible top-level window with this caption, waited for.
HWND WaitForWindow(const std::u16string& caption, DWORD timeoutMs = kWindowWaitMs);
HWND Child(HWND window, int id);  // by control identifier, at any depth
HWND ChildByText(HWND window, const std::u16string& text);
std::pair<int, int> ClientSize(HWND window);
std::u16string FontFace(HWND control);

std::vector<std::u16string> ComboItems(HWND combo);
int ComboIndex(HWND combo);
// As a user's choice: the item, then the notification to the control's parent.
void ChooseComboItem(HWND combo, int index);
void Click(HWND button);       // sent: for buttons that open nothing
void PostClick(HWND button);   // posted: for buttons that open a modal window
bool IsChecked(HWND button);
void TypeText(HWND edit, const std::u16string& text);
// A key pressed and released as the keyboard sends it: the focus moved to
// the control (to the text of a list that accepts typing), the key posted to
// the control with the focus.
void PressKey(HWND control, WORD key);
std::u16string ListViewText(HWND list, int row, int column);

// A screenshot of the whole screen into the artefacts folder, when the run
// asks for them (WQ_UI_ARTEFACTS); false when one was asked for and not made.
bool Screenshot(const std::string& name);

// Runs the driver on its own thread while the test thread is inside the
// library's modal window; collects failures.
class TProbe {
public:
    explicit TProbe(std::function<void(TProbe&)> script);
    ~TProbe();
    // Waits for the script; the failures it met.
    std::vector<std::string> Finish();
    void Check(bool condition, const std::string& what);
    template <typename T>
    void Equal(const T& actual, const T& expected, const std::string& what) {
        Check(actual == expected, what);
    }

private:
    std::thread FThread;
    std::vector<std::string> FFailures;
};

// One failure a line, for the test's message.
std::string Joined(const std::vector<std::string>& failures);

// A visible top-level window of the test thread standing for the host's own.
class THostWindow {
public:
    THostWindow();
    ~THostWindow();
    HWND Handle() const { return FHandle; }

private:
    HWND FHandle = nullptr;
};

}  // namespace ui_tests
