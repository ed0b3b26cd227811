// The platform's Linux client runs GTK itself: the library takes that GTK as
// it is, and its window goes over the application's active window. Run by
// run_gtk_ui_tests.sh in a process of its own (WQ_UI_HOST_GTK), where the
// test starts GTK before the library is asked for a window.
#include <cstdlib>

#include "tests/integration/driver/DriverFixture.h"
#include "tests/ui/GtkProbe.h"

namespace driver_tests {

using namespace ui_tests;

TEST_F(DriverTest, WindowOverTheApplicationsOwnGtkWindow) {
    if (!std::getenv("WQ_UI_HOST_GTK")) GTEST_SKIP() << "run in a process of its own by run_gtk_ui_tests.sh";
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    GtkWidget* host = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(host), "Приложение");
    gtk_window_set_default_size(GTK_WINDOW(host), 300, 200);
    gtk_widget_show_all(host);
    gtk_window_present(GTK_WINDOW(host));
    for (int i = 0; i < 100 && !gtk_window_is_active(GTK_WINDOW(host)); ++i) {
        while (gtk_events_pending()) gtk_main_iteration();
        g_usleep(20000);
    }
    ASSERT_TRUE(gtk_window_is_active(GTK_WINDOW(host))) << "the application's window has the focus";

    TGtkProbe probe([&](TGtkProbe& p) {
        GtkWidget* w = p.WaitForWindow("Просмотр лога");
        if (!w) return;
        OnMain([&] {
            p.Check(gtk_window_get_transient_for(GTK_WINDOW(w)) == GTK_WINDOW(host), "over the application's window");
            p.Check(gtk_window_get_modal(GTK_WINDOW(w)), "modal: the application's window takes no input meanwhile");
            gtk_window_close(GTK_WINDOW(w));
        });
    });
    EXPECT_TRUE(CallBool(u"DoAdditionalAction", {Text(u"ViewLog")}));
    const std::vector<std::string> failures = probe.Finish();
    EXPECT_TRUE(failures.empty()) << Joined(failures);
    EXPECT_EQ(gtk_main_level(), 0u) << "the library's loop has ended";
    gtk_widget_destroy(host);
}

}  // namespace driver_tests
