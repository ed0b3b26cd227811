// "Справка" on Linux, opened through DoAdditionalAction as the platform opens
// it: the page in WebKitGTK, or without WebKitGTK the document's text and the
// button that opens the page in the user's browser.
#include <cstdlib>
#include <filesystem>
#include <set>

#include "lib/cf/TextUtils.h"
#include "tests/integration/driver/DriverFixture.h"
#include "tests/ui/FakeXdgOpen.h"
#include "tests/ui/GtkProbe.h"

namespace driver_tests {

using namespace ui_tests;

namespace {

std::filesystem::path TempFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

// The working folders (named by a braced GUID) in the temporary folder.
std::set<std::filesystem::path> WorkFolders() {
    std::set<std::filesystem::path> folders;
    for (const auto& entry : std::filesystem::directory_iterator(TempFolder())) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && name.size() == 38 && name.front() == '{' && name.back() == '}')
            folders.insert(entry.path());
    }
    return folders;
}

class HelpWindowOnGtk : public DriverTest {
protected:
    // Opens the help as the platform does, runs ACheck on the window, closes
    // it, and answers the working folder the window used.
    std::filesystem::path ShowHelp(const std::function<void(TGtkProbe&, GtkWidget*)>& ACheck) {
        const std::set<std::filesystem::path> before = WorkFolders();
        std::filesystem::path folder;
        TGtkProbe probe([&](TGtkProbe& p) {
            GtkWidget* w = p.WaitForWindow("Справка");
            if (!w) return;
            OnMain([&] { p.Equal(WindowSize(w), std::make_pair(633, 425), "window size " + SizeText(WindowSize(w))); });
            for (const std::filesystem::path& candidate : WorkFolders())
                if (!before.count(candidate)) folder = candidate;
            p.Check(!folder.empty() && std::filesystem::exists(folder / "md.html"), "the working folder holds md.html");
            ACheck(p, w);
            OnMain([&] { gtk_window_close(GTK_WINDOW(w)); });
        });
        EXPECT_TRUE(CallBool(u"DoAdditionalAction", {Text(u"ShowHelp")}));
        const std::vector<std::string> failures = probe.Finish();
        EXPECT_TRUE(failures.empty()) << Joined(failures);
        EXPECT_FALSE(folder.empty());
        EXPECT_FALSE(std::filesystem::exists(folder)) << "the working folder is gone";
        return folder;
    }
};

}  // namespace

TEST_F(HelpWindowOnGtk, ShowsThePageInWebKit) {
    ShowHelp([](TGtkProbe& p, GtkWidget* w) {
        OnMain([&] { p.Check(Find(w, "wbBrowser") != nullptr && Find(w, "mmoText") == nullptr, "the page in WebKitGTK"); });
        // The web process draws the page a moment after the window shows.
        std::this_thread::sleep_for(std::chrono::seconds(3));
        p.Shot(w, "help-window");
    });
}

TEST_F(HelpWindowOnGtk, WithoutWebKitShowsTheTextAndOpensTheBrowser) {
    setenv("W_QUORLAN7T4P_WEBKIT_LIBRARY", "libwebkit2gtk-absent.so.0", 1);
    const TFakeXdgOpen opener(std::filesystem::path(LogFolder().Path()).parent_path() / "wq-fake-browser");
    const std::filesystem::path folder = ShowHelp([](TGtkProbe& p, GtkWidget* w) {
        OnMain([&] {
            GtkWidget* text = Find(w, "mmoText");
            p.Check(Find(w, "wbBrowser") == nullptr, "no browser widget");
            p.Check(TextViewText(text).rfind("# Драйвер весов Tiger для 1С:Предприятия 8\n\nДрайвер", 0) == 0,
                    "the document's text");
            p.Check(text && !gtk_text_view_get_editable(GTK_TEXT_VIEW(text)), "read-only text");
            GtkWidget* open = Find(w, "btnOpenInBrowser");
            p.Equal(std::string(open ? gtk_button_get_label(GTK_BUTTON(open)) : ""), std::string("Открыть в браузере"),
                    "the browser button");
            if (open) gtk_button_clicked(GTK_BUTTON(open));
        });
        p.Shot(w, "help-window-text");
    });
    unsetenv("W_QUORLAN7T4P_WEBKIT_LIBRARY");
    EXPECT_EQ(opener.Arguments(), std::vector<std::string>{(folder / "md.html").string()}) << "xdg-open gets md.html";
}

}  // namespace driver_tests
