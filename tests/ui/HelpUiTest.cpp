// "Справка" opened through DoAdditionalAction as the platform opens it. Wine
// here has no HTML engine, so the window shows the document's text and the
// button that opens the page in the system's browser.
#include <set>

#include "forms/uControlIds.h"
#include "tests/integration/driver/DriverFixture.h"
#include "tests/ui/UiProbe.h"

// After the host emulation, which has names COM's headers define as macros.
#include <ole2.h>

namespace driver_tests {

using namespace ui_tests;
namespace ids = forms::ids;

namespace {

std::u16string TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    return std::u16string(buffer, buffer + length);
}

// The working folders (named by a braced GUID) in the user's temporary folder.
std::set<std::u16string> WorkFolders() {
    std::set<std::u16string> folders;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(Wide(TempFolder() + u"{*}").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return folders;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            folders.insert(TempFolder() + std::u16string(data.cFileName, data.cFileName + wcslen(data.cFileName)));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return folders;
}

bool Exists(const std::u16string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

class HelpWindowTest : public DriverTest {
protected:
    // Opens the help as the platform does, checks the window while a probe
    // looks at it (a screenshot when named), and answers the working folder
    // the window used.
    std::u16string ShowHelpAndCheck(const std::string& screenshot, bool ownThread) {
        const std::set<std::u16string> before = WorkFolders();
        std::u16string folder;
        THostWindow host;
        TProbe probe([&](TProbe& p) {
            HWND window = WaitForWindow(u"Справка");
            p.Check(window != nullptr, "the window appears");
            if (!window) return;
            p.Equal(ClientSize(window), std::make_pair(633, 425), "client size");
            p.Check(!IsWindowEnabled(host.Handle()), "the host's window is disabled meanwhile");
            const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
            p.Equal(windowThread != GetWindowThreadProcessId(host.Handle(), nullptr), ownThread,
                    "the thread the window runs on");
            for (const std::u16string& candidate : WorkFolders())
                if (!before.count(candidate)) folder = candidate;
            p.Check(!folder.empty() && Exists(folder + u"\\md.html"), "the working folder holds md.html meanwhile");
            HWND text = Child(window, ids::kDocText), open = Child(window, ids::kDocOpenInBrowser);
            p.Check(TextOf(text).starts_with(u"# Драйвер весов Tiger для 1С:Предприятия 8\r\n\r\nДрайвер"),
                    "the document's text, its lines broken as the edit control breaks them");
            p.Check(GetWindowLongW(text, GWL_STYLE) & ES_READONLY, "read-only text");
            p.Equal(FontFace(text), std::u16string(u"Tahoma"), "font");
            p.Equal(TextOf(open), std::u16string(u"Открыть в браузере"), "the browser button");
            p.Check(IsWindowVisible(open) && IsWindowEnabled(open), "the browser button can be pressed");
            if (!screenshot.empty()) p.Check(Screenshot(screenshot), "screenshot");
            PostMessageW(window, WM_CLOSE, 0, 0);
        });
        EXPECT_TRUE(CallBool(u"DoAdditionalAction", {Text(u"ShowHelp")}));
        const std::vector<std::string> failures = probe.Finish();
        EXPECT_TRUE(failures.empty()) << Joined(failures);
        EXPECT_TRUE(IsWindowEnabled(host.Handle()));
        EXPECT_EQ(FindWindowW(nullptr, L"Справка"), nullptr);
        return folder;
    }
};

}  // namespace

TEST_F(HelpWindowTest, ShowsTheDocumentAndRemovesItsFolderWhenClosed) {
    const std::u16string folder = ShowHelpAndCheck("help-window", false);
    EXPECT_FALSE(folder.empty());
    EXPECT_FALSE(Exists(folder)) << "the working folder is gone";
}

// The platform's own thread is usually in a single-threaded apartment already.
TEST_F(HelpWindowTest, OnAThreadInASingleThreadedApartmentTheWindowRunsOnIt) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    const std::u16string folder = ShowHelpAndCheck("", false);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE) << "the caller's apartment is kept";
    OleUninitialize();
    EXPECT_FALSE(folder.empty());
    EXPECT_FALSE(Exists(folder)) << "the working folder is gone";
}

// A host thread in the multi-threaded apartment cannot host the browser
// control: the window runs on a thread of its own while the call waits.
TEST_F(HelpWindowTest, FromTheMultiThreadedApartmentTheWindowRunsOnItsOwnThread) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    const std::u16string folder = ShowHelpAndCheck("help-window-own-thread", true);
    CoUninitialize();
    EXPECT_FALSE(folder.empty());
    EXPECT_FALSE(Exists(folder)) << "the working folder is gone";
}

}  // namespace driver_tests
