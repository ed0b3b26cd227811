// "Просмотр лога" opened through DoAdditionalAction as the platform opens it.
#include <filesystem>
#include <fstream>

#include "forms/uControlIds.h"
#include "lib/cf/TextUtils.h"
#include "tests/integration/driver/DriverFixture.h"
#include "tests/ui/UiProbe.h"

namespace driver_tests {

using namespace ui_tests;
namespace ids = forms::ids;

namespace {

std::string Utf8(const std::u16string& text) { return cf::ToUtf8(text); }

void WriteFile(const std::u16string& path, const std::string& bytes, std::ios::openmode mode = std::ios::trunc) {
    std::ofstream(std::filesystem::path(path), std::ios::binary | mode) << bytes;
}

}  // namespace

TEST_F(DriverTest, LogViewerWindow) {
    const std::u16string folder = LogFolder().Path();
    const std::u16string day6 = u"w_quorlan7t4p_2026.12.06.log", day7 = u"w_quorlan7t4p_2026.12.07.log";
    const std::u16string text6 = u"2026.12.06 10:00:00.000\tINFO\tЗапуск\r\n";
    const std::u16string text7 = u"2026.12.07 11:00:00.000\tERROR\tОшибка соединения: весы не отвечают\r\n";
    WriteFile(folder + day6, Utf8(text6));
    WriteFile(folder + day7, Utf8(text7));
    WriteFile(folder + u"notes.txt", "not a log");
    const std::u16string appended = u"2026.12.07 11:00:01.000\tDEBUG\tНовая строка\r\n";

    THostWindow host;
    TProbe probe([&](TProbe& p) {
        HWND window = WaitForWindow(u"Просмотр лога");
        p.Check(window != nullptr, "the window appears");
        if (!window) return;
        HWND files = Child(window, ids::kLogFiles), text = Child(window, ids::kLogText);
        p.Check(!IsWindowEnabled(host.Handle()), "the host's window is disabled meanwhile");
        p.Equal(ClientSize(window), std::make_pair(633, 293), "client size");
        p.Equal(ComboItems(files), std::vector<std::u16string>{day6, day7}, "only the log files, sorted");
        p.Equal(ComboIndex(files), 1, "the newest file chosen");
        p.Equal(TextOf(text), text7, "its text, Cyrillic included");
        p.Equal(FontFace(text), std::u16string(u"Tahoma"), "font");
        p.Check(GetWindowLongW(text, GWL_STYLE) & ES_READONLY, "read-only text");
        p.Check(Screenshot("log-viewer"), "screenshot");

        SendMessageW(text, EM_SETSEL, 7, 7);
        WriteFile(folder + day7, Utf8(appended), std::ios::app);
        p.Check(WaitFor([&] { return TextOf(text) == text7 + appended; }, 3000), "growth shown within a second or so");
        DWORD start = 0, end = 0;
        SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        p.Equal(std::make_pair(start, end), std::make_pair(DWORD{7}, DWORD{7}), "caret kept");

        SendMessageW(files, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageW(files, CB_SHOWDROPDOWN, FALSE, 0);
        p.Equal(ComboIndex(files), -1, "opening the list clears the choice");
        p.Equal(TextOf(text), text7 + appended, "the text stays");
        ChooseComboItem(files, 0);
        p.Equal(TextOf(text), text6, "another day chosen");
        p.Check(Screenshot("log-viewer-other-day"), "screenshot");
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(CallBool(u"DoAdditionalAction", {Text(u"ViewLog")}));
    const std::vector<std::string> failures = probe.Finish();
    EXPECT_TRUE(failures.empty()) << Joined(failures);
    EXPECT_TRUE(IsWindowEnabled(host.Handle()));
    EXPECT_EQ(GetActiveWindow(), host.Handle());
    EXPECT_EQ(FindWindowW(nullptr, L"Просмотр лога"), nullptr);
}

}  // namespace driver_tests
