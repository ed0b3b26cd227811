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

// The sizes of the windows are those of the Windows views; the desktop theme's
// roomy defaults would not fit them. Applied to the library's own widgets
// only: the host's windows keep their look.
constexpr char kCompactStyle[] =
    "* { font-size: 9pt; }"
    "entry, spinbutton, combobox button, button { min-height: 18px; padding-top: 1px; padding-bottom: 1px; }"
    "entry { padding-left: 4px; padding-right: 4px; }"
    "spinbutton button { padding-left: 2px; padding-right: 2px; min-width: 12px; }"
    "notebook tab { min-height: 0; padding: 2px 3px; }"
    "checkbutton, radiobutton { min-height: 0; padding-top: 0; padding-bottom: 0; }";

struct TStyleWalk {
    const TGtkApi& Api;
    GtkStyleProvider* Provider;
};

void AddStyle(GtkWidget* AWidget, gpointer AWalk) {
    const TStyleWalk& walk = *static_cast<const TStyleWalk*>(AWalk);
    walk.Api.gtk_style_context_add_provider(walk.Api.gtk_widget_get_style_context(AWidget), walk.Provider,
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    if (walk.Api.g_type_check_instance_is_a(reinterpret_cast<GTypeInstance*>(AWidget), walk.Api.gtk_container_get_type()))
        walk.Api.gtk_container_forall(As<GtkContainer>(AWidget), AddStyle, AWalk);
}

void ApplyCompactStyle(const TGtkApi& AApi, GtkWidget* AWindow) {
    static GtkCssProvider* provider = [&] {
        GtkCssProvider* css = AApi.gtk_css_provider_new();
        AApi.gtk_css_provider_load_from_data(css, kCompactStyle, -1, nullptr);
        return css;
    }();
    TStyleWalk walk{AApi, reinterpret_cast<GtkStyleProvider*>(provider)};
    AddStyle(AWindow, &walk);
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

void ShowDialog(const TGtkApi& AApi, GtkWidget* ADialog) {
    ApplyCompactStyle(AApi, ADialog);
    AApi.gtk_widget_show_all(ADialog);
}

int RunDialog(const TGtkApi& AApi, GtkWidget* ADialog) {
    ShowDialog(AApi, ADialog);
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
    // GTK 3 no longer draws the message type's icon: put it beside the text again.
    auto* row = As<GtkBox>(AApi.gtk_widget_get_parent(AApi.gtk_message_dialog_get_message_area(As<GtkMessageDialog>(box))));
    GtkWidget* icon = AApi.gtk_image_new_from_icon_name("dialog-error", GTK_ICON_SIZE_DIALOG);
    AApi.gtk_widget_set_valign(icon, GTK_ALIGN_START);
    AApi.gtk_box_pack_start(row, icon, FALSE, FALSE, 0);
    AApi.gtk_box_reorder_child(row, icon, 0);
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
