#include "forms/uGtkWindow_gtk.h"

#include "lib/cf/Exception.h"

namespace forms::gtk {

namespace {

GtkWindow* ActiveWindow(const TGtkApi& AApi) {
    GList* windows = AApi.gtk_window_list_toplevels();
    GtkWindow* active = nullptr;
    for (GList* item = windows; item && !active; item = item->next) {
        auto* window = As<GtkWindow>(item->data);
        if (AApi.gtk_window_is_active(window) && AApi.gtk_widget_get_visible(As<GtkWidget>(window))) active = window;
    }
    AApi.g_list_free(windows);
    return active;
}

}  // namespace

GtkWidget* NewDialog(const TGtkApi& AApi, const std::u16string& ACaption, int AWidth, int AHeight) {
    GtkWidget* dialog = AApi.gtk_dialog_new();
    auto* window = As<GtkWindow>(dialog);
    AApi.gtk_window_set_title(window, Utf8(ACaption).c_str());
    AApi.gtk_window_set_default_size(window, AWidth, AHeight);
    AApi.gtk_window_set_modal(window, TRUE);
    if (GtkWindow* owner = ActiveWindow(AApi)) {
        AApi.gtk_window_set_transient_for(window, owner);
        AApi.gtk_window_set_destroy_with_parent(window, TRUE);
    }
    AApi.gtk_window_set_position(window, GTK_WIN_POS_CENTER);
    AApi.gtk_container_set_border_width(As<GtkContainer>(ContentOf(AApi, dialog)), 0);
    return dialog;
}

int RunDialog(const TGtkApi& AApi, GtkWidget* ADialog) {
    AApi.gtk_widget_show_all(ADialog);
    const int response = AApi.gtk_dialog_run(As<GtkDialog>(ADialog));
    AApi.gtk_widget_destroy(ADialog);
    return response;
}

GtkWidget* ContentOf(const TGtkApi& AApi, GtkWidget* ADialog) {
    return AApi.gtk_dialog_get_content_area(As<GtkDialog>(ADialog));
}

void ShowError(const TGtkApi& AApi, GtkWidget* AParent, const std::u16string& AMessage) {
    GtkWidget* box = AApi.gtk_message_dialog_new(As<GtkWindow>(AParent), GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                                 GTK_BUTTONS_OK, "%s", Utf8(AMessage).c_str());
    AApi.gtk_window_set_title(As<GtkWindow>(box), "Ошибка");
    Named(AApi, box, "ErrorBox");
    RunDialog(AApi, box);
}

void Guarded(const TGtkApi& AApi, GtkWidget* AParent, const std::function<void()>& AAction) {
    try {
        AAction();
    } catch (...) {
        try {
            ShowError(AApi, AParent, cf::CurrentExceptionMessage());
        } catch (...) {
            // Nothing may unwind into GTK's C frames.
        }
    }
}

GtkWidget* Named(const TGtkApi& AApi, GtkWidget* AWidget, const char* AName) {
    AApi.gtk_widget_set_name(AWidget, AName);
    return AWidget;
}

GtkWidget* Label(const TGtkApi& AApi, const std::u16string& AText) {
    GtkWidget* label = AApi.gtk_label_new(Utf8(AText).c_str());
    AApi.gtk_label_set_xalign(As<GtkLabel>(label), 0);
    return label;
}

void Connect(const TGtkApi& AApi, void* AWidget, const char* ASignal, GCallback ACallback, void* AData) {
    AApi.g_signal_connect_data(AWidget, ASignal, ACallback, AData, nullptr, GConnectFlags(0));
}

void SetMargins(const TGtkApi& AApi, GtkWidget* AWidget, int AMargin) {
    AApi.gtk_widget_set_margin_start(AWidget, AMargin);
    AApi.gtk_widget_set_margin_end(AWidget, AMargin);
    AApi.gtk_widget_set_margin_top(AWidget, AMargin);
    AApi.gtk_widget_set_margin_bottom(AWidget, AMargin);
}

void StartProgram(const TGtkApi& AApi, const std::vector<std::string>& AArguments) {
    std::vector<char*> argv;
    for (const std::string& argument : AArguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    GError* error = nullptr;
    // Without DO_NOT_REAP_CHILD GLib starts it through an intermediate child: no zombie is left.
    if (AApi.g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, &error))
        return;
    const std::u16string reason = Utf16(error ? error->message : "");
    if (error) AApi.g_error_free(error);
    throw cf::Exception(u"Не удалось запустить " + Utf16(AArguments.front().c_str()) + u": " + reason);
}

void TXdgShell::Explore(const std::u16string& AFolder) { StartProgram(Gtk(), {"xdg-open", Utf8(AFolder)}); }

}  // namespace forms::gtk
