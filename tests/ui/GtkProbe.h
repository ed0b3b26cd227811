// Drives the library's GTK windows from a second thread, the way a user's
// clicks arrive: every GTK call runs on the main thread (inside the window's
// modal loop) through an idle callback. Collects what it finds wrong for the
// test thread to report; every wait is bounded.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace ui_tests {

inline constexpr int kWindowWaitMs = 5000;
inline constexpr int kLoopLeftMs = 1000;

// Runs AAction on the main thread and waits for it; false (and AAction never
// runs) when the main thread runs no loop within the time.
bool OnMain(const std::function<void()>& AAction, int ATimeoutMs = kWindowWaitMs);
// Runs AAction on the main thread without waiting: for what opens a modal window.
void PostToMain(std::function<void()> AAction);
bool WaitFor(const std::function<bool()>& ACondition, int ATimeoutMs = kWindowWaitMs);

// Main thread only from here on.
// The visible top-level window with this caption.
GtkWidget* FindWindow(const std::string& ACaption);
// The widget of that name inside ARoot, at any depth (notebook pages included).
GtkWidget* Find(GtkWidget* ARoot, const std::string& AName);
std::string EntryText(GtkWidget* AEntry);
std::string TextViewText(GtkWidget* AView);
std::vector<std::string> ComboItems(GtkWidget* ACombo);
std::pair<int, int> WindowSize(GtkWidget* AWindow);
// A key pressed and released as the keyboard sends it to AWindow, with AFocus
// holding the focus.
void PressKey(GtkWidget* AWindow, GtkWidget* AFocus, guint AKeyval);
inline std::string SizeText(std::pair<int, int> ASize) {
    return std::to_string(ASize.first) + "x" + std::to_string(ASize.second);
}
// The window as it shows on the screen, into the artefacts folder as NAME.png
// (WQ_UI_ARTEFACTS); true when none was asked for.
bool Screenshot(GtkWidget* AWindow, const std::string& AName);

// The script on its own thread while the test thread is inside the window.
class TGtkProbe {
public:
    explicit TGtkProbe(std::function<void(TGtkProbe&)> AScript);
    ~TGtkProbe();
    std::vector<std::string> Finish();
    void Check(bool ACondition, const std::string& AWhat);
    template <typename T>
    void Equal(const T& AActual, const T& AExpected, const std::string& AWhat) {
        Check(AActual == AExpected, AWhat);
    }
    // The window with this caption, waited for; null (and a failure) when it does not come.
    GtkWidget* WaitForWindow(const std::string& ACaption);
    // Waits for a main-thread condition.
    bool WaitOnMain(const std::function<bool()>& ACondition, int ATimeoutMs = kWindowWaitMs);
    // Waits until no visible window has that caption any more.
    bool WaitClosed(const std::string& ACaption);
    void Shot(GtkWidget* AWindow, const std::string& AName);

private:
    std::thread FThread;
    std::vector<std::string> FFailures;
};

std::string Joined(const std::vector<std::string>& AFailures);

}  // namespace ui_tests
