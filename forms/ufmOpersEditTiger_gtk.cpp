#include "forms/ufmOpersEditTiger_gtk.h"

#include "forms/uGtkWindow_gtk.h"

namespace forms::gtk {

namespace {

constexpr int kClientWidth = 253;
constexpr int kClientHeight = 104;

class TOperatorWindow {
public:
    explicit TOperatorWindow(TfmOpersEditTiger& APresenter) : FApi(Gtk()), FPresenter(APresenter) {}

    bool Show(GtkWidget* AOwner) {
        FWindow = NewDialog(FApi, u"Имя оператора", kClientWidth, kClientHeight);
        FApi.gtk_window_set_transient_for(As<GtkWindow>(FWindow), As<GtkWindow>(AOwner));
        FApi.gtk_window_set_resizable(As<GtkWindow>(FWindow), FALSE);
        GtkWidget* grid = FApi.gtk_grid_new();
        FApi.gtk_grid_set_row_spacing(As<GtkGrid>(grid), 8);
        FApi.gtk_grid_set_column_spacing(As<GtkGrid>(grid), 8);
        SetMargins(FApi, grid, 10);
        FApi.gtk_grid_attach(As<GtkGrid>(grid), Label(FApi, u"Номер:"), 0, 0, 1, 1);
        GtkWidget* number = Named(FApi, FApi.gtk_entry_new(), "edNum");
        FApi.gtk_entry_set_text(As<GtkEntry>(number), Utf8(FPresenter.edNum()).c_str());
        FApi.gtk_editable_set_editable(As<GtkEditable>(number), FALSE);
        FApi.gtk_entry_set_width_chars(As<GtkEntry>(number), 6);
        FApi.gtk_widget_set_halign(number, GTK_ALIGN_START);
        FApi.gtk_grid_attach(As<GtkGrid>(grid), number, 1, 0, 2, 1);
        FApi.gtk_grid_attach(As<GtkGrid>(grid), Label(FApi, u"Имя:"), 0, 1, 1, 1);
        FName = Named(FApi, FApi.gtk_entry_new(), "edName");
        FApi.gtk_entry_set_text(As<GtkEntry>(FName), Utf8(FPresenter.edName()).c_str());
        FApi.gtk_entry_set_max_length(As<GtkEntry>(FName), static_cast<int>(kOperatorNameLength));
        FApi.gtk_entry_set_activates_default(As<GtkEntry>(FName), TRUE);
        FApi.gtk_widget_set_hexpand(FName, TRUE);
        FApi.gtk_grid_attach(As<GtkGrid>(grid), FName, 1, 1, 2, 1);
        GtkWidget* ok = Named(FApi, FApi.gtk_button_new_with_label("OK"), "btnOk");
        GtkWidget* cancel = Named(FApi, FApi.gtk_button_new_with_label("Отмена"), "btnCancel");
        FApi.gtk_grid_attach(As<GtkGrid>(grid), ok, 1, 2, 1, 1);
        FApi.gtk_grid_attach(As<GtkGrid>(grid), cancel, 2, 2, 1, 1);
        FApi.gtk_box_pack_start(As<GtkBox>(ContentOf(FApi, FWindow)), grid, TRUE, TRUE, 0);
        FApi.gtk_widget_set_can_default(ok, TRUE);
        Connect(FApi, ok, "clicked", G_CALLBACK(&TOperatorWindow::OnOk), this);
        Connect(FApi, cancel, "clicked", G_CALLBACK(&TOperatorWindow::OnCancel), this);
        ShowDialog(FApi, FWindow);
        FApi.gtk_widget_grab_default(ok);
        FApi.gtk_widget_grab_focus(cancel);
        return RunDialog(FApi, FWindow) == GTK_RESPONSE_OK;
    }

private:
    static void OnOk(GtkButton*, TOperatorWindow* ASelf) {
        Guarded(ASelf->FApi, ASelf->FWindow, [&] {
            ASelf->FPresenter.btnOkClick(Utf16(ASelf->FApi.gtk_entry_get_text(As<GtkEntry>(ASelf->FName))));
            ASelf->FApi.gtk_dialog_response(As<GtkDialog>(ASelf->FWindow), GTK_RESPONSE_OK);
        });
    }

    static void OnCancel(GtkButton*, TOperatorWindow* ASelf) {
        ASelf->FApi.gtk_dialog_response(As<GtkDialog>(ASelf->FWindow), GTK_RESPONSE_CANCEL);
    }

    const TGtkApi& FApi;
    TfmOpersEditTiger& FPresenter;
    GtkWidget* FWindow = nullptr;
    GtkWidget* FName = nullptr;
};

}  // namespace

bool TOperatorEditorGtk::Edit(TfmOpersEditTiger& AWindow) {
    TOperatorWindow window(AWindow);
    return window.Show(FOwner);
}

}  // namespace forms::gtk
