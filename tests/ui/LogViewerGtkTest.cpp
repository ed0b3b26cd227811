// "Просмотр лога" on Linux, opened through DoAdditionalAction as the platform
// opens it, driven through its GTK widgets.
#include <filesystem>
#include <fstream>

#include "lib/cf/TextUtils.h"
#include "tests/integration/driver/DriverFixture.h"
#include "tests/ui/FakeXdgOpen.h"
#include "tests/ui/GtkProbe.h"

namespace driver_tests {

using namespace ui_tests;

namespace {

void WriteFile(const std::u16string& path, const std::string& bytes, std::ios::openmode mode = std::ios::trunc) {
    std::ofstream(std::filesystem::path(path), std::ios::binary | mode) << bytes;
}

int CaretOffset(GtkWidget* text) {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(text));
    GtkTextIter iter;
    gtk_text_buffer_get_iter_at_mark(buffer, &iter, gtk_text_buffer_get_insert(buffer));
    return gtk_text_iter_get_offset(&iter);
}

}  // namespace

TEST_F(DriverTest, LogViewerWindowOnGtk) {
    const std::u16string folder = LogFolder().Path();
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder)))
        std::filesystem::remove_all(entry.path());
    const std::string day6 = "w_quorlan7t4p_2026.12.06.log", day7 = "w_quorlan7t4p_2026.12.07.log";
    const std::string text6 = "2026.12.06 10:00:00.000\tINFO\tЗапуск\n";
    const std::string text7 = "2026.12.07 11:00:00.000\tERROR\tОшибка соединения: весы не отвечают\n";
    const std::string appended = "2026.12.07 11:00:01.000\tDEBUG\tНовая строка\n";
    WriteFile(folder + cf::FromUtf8(day6), text6);
    WriteFile(folder + cf::FromUtf8(day7), text7);
    WriteFile(folder + u"notes.txt", "not a log");
    const TFakeXdgOpen opener(std::filesystem::path(folder).parent_path() / "wq-fake-bin");

    TGtkProbe probe([&](TGtkProbe& p) {
        GtkWidget* window = p.WaitForWindow("Просмотр лога");
        if (!window) return;
        GtkWidget *files = nullptr, *text = nullptr, *open = nullptr;
        OnMain([&] {
            files = Find(window, "cbbLogFiles"), text = Find(window, "mmoLog"), open = Find(window, "btnOpenDir");
            p.Equal(WindowSize(window), std::make_pair(633, 293), "window size");
            p.Check(gtk_window_get_modal(GTK_WINDOW(window)), "modal");
            p.Equal(ComboItems(files), std::vector<std::string>{day6, day7}, "only the log files, sorted");
            p.Equal(gtk_combo_box_get_active(GTK_COMBO_BOX(files)), 1, "the newest file chosen");
            p.Equal(TextViewText(text), text7, "its text, Cyrillic included");
            p.Check(!gtk_text_view_get_editable(GTK_TEXT_VIEW(text)), "read-only text");
            GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(text));
            GtkTextIter at;
            gtk_text_buffer_get_iter_at_offset(buffer, &at, 7);
            gtk_text_buffer_place_cursor(buffer, &at);
        });
        p.Shot(window, "log-viewer");

        WriteFile(folder + cf::FromUtf8(day7), appended, std::ios::app);
        p.Check(p.WaitOnMain([&] { return TextViewText(text) == text7 + appended; }, 3000),
                "growth shown within a second or so");
        OnMain([&] { p.Equal(CaretOffset(text), 7, "caret kept"); });

        OnMain([&] { gtk_combo_box_popup(GTK_COMBO_BOX(files)); });
        p.WaitOnMain([&] {
            gboolean shown = FALSE;
            g_object_get(files, "popup-shown", &shown, nullptr);
            return shown == TRUE;
        });
        OnMain([&] { gtk_combo_box_popdown(GTK_COMBO_BOX(files)); });
        OnMain([&] {
            p.Equal(gtk_combo_box_get_active(GTK_COMBO_BOX(files)), -1, "opening the list clears the choice");
            p.Equal(TextViewText(text), text7 + appended, "the text stays");
            gtk_combo_box_set_active(GTK_COMBO_BOX(files), 0);
            p.Equal(TextViewText(text), text6, "another day chosen");
            gtk_button_clicked(GTK_BUTTON(open));
        });
        p.Shot(window, "log-viewer-other-day");
        OnMain([&] { gtk_window_close(GTK_WINDOW(window)); });
    });
    EXPECT_TRUE(CallBool(u"DoAdditionalAction", {Text(u"ViewLog")}));
    const std::vector<std::string> failures = probe.Finish();
    EXPECT_TRUE(failures.empty()) << Joined(failures);
    EXPECT_EQ(opener.Arguments(), std::vector<std::string>{cf::ToUtf8(folder)}) << "xdg-open gets the log folder";
    EXPECT_EQ(FindWindow("Просмотр лога"), nullptr);
}

}  // namespace driver_tests
