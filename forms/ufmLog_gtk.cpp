// The GTK view of the log viewer: the file list and the folder button over a
// read-only text, and the one-second timer.
#include "forms/ufmLog.h"

#include "forms/uDiskLogFiles.h"
#include "forms/uGtkWindow_gtk.h"

namespace forms {

namespace {

using namespace gtk;

constexpr int kClientWidth = 633;
constexpr int kClientHeight = 293;
constexpr unsigned kCheckFileInterval = 1000;

class TLogWindow {
public:
    TLogWindow() : FApi(Gtk()), FPresenter(FLogFiles, FShell) {}

    void Show() {
        FWindow = NewDialog(FApi, u"Просмотр лога", kClientWidth, kClientHeight);
        CreateControls();
        Guarded(FApi, FWindow, [&] { Apply(FPresenter.FormCreate()); });
        ShowFileList();
        const unsigned timer = FApi.g_timeout_add(kCheckFileInterval, &TLogWindow::OnTimer, this);
        RunDialog(FApi, FWindow);
        FApi.g_source_remove(timer);
    }

private:
    void CreateControls() {
        GtkWidget* content = ContentOf(FApi, FWindow);
        GtkWidget* bar = FApi.gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
        SetMargins(FApi, bar, 2);
        FFileList = Named(FApi, FApi.gtk_combo_box_text_new(), "cbbLogFiles");
        FApi.gtk_widget_set_size_request(FFileList, 320, -1);
        FApi.gtk_box_pack_start(As<GtkBox>(bar), FFileList, FALSE, FALSE, 0);
        GtkWidget* open = Named(FApi, FApi.gtk_button_new_from_icon_name("folder", GTK_ICON_SIZE_BUTTON), "btnOpenDir");
        FApi.gtk_button_set_relief(As<GtkButton>(open), GTK_RELIEF_NONE);
        FApi.gtk_box_pack_start(As<GtkBox>(bar), open, FALSE, FALSE, 0);
        FApi.gtk_box_pack_start(As<GtkBox>(content), bar, FALSE, FALSE, 0);

        GtkWidget* scroll = FApi.gtk_scrolled_window_new(nullptr, nullptr);
        FApi.gtk_scrolled_window_set_policy(As<GtkScrolledWindow>(scroll), GTK_POLICY_ALWAYS, GTK_POLICY_ALWAYS);
        FApi.gtk_scrolled_window_set_shadow_type(As<GtkScrolledWindow>(scroll), GTK_SHADOW_IN);
        FText = Named(FApi, FApi.gtk_text_view_new(), "mmoLog");
        FApi.gtk_text_view_set_editable(As<GtkTextView>(FText), FALSE);
        FApi.gtk_text_view_set_monospace(As<GtkTextView>(FText), TRUE);
        FApi.gtk_container_add(As<GtkContainer>(scroll), FText);
        FApi.gtk_box_pack_start(As<GtkBox>(content), scroll, TRUE, TRUE, 0);

        Connect(FApi, FFileList, "changed", G_CALLBACK(&TLogWindow::OnChanged), this);
        Connect(FApi, FFileList, "notify::popup-shown", G_CALLBACK(&TLogWindow::OnPopup), this);
        Connect(FApi, open, "clicked", G_CALLBACK(&TLogWindow::OnOpenDir), this);
    }

    static void OnChanged(GtkComboBox* ACombo, TLogWindow* ASelf) {
        if (ASelf->FUpdating) return;
        const int index = ASelf->FApi.gtk_combo_box_get_active(ACombo);
        Guarded(ASelf->FApi, ASelf->FWindow, [&] { ASelf->Apply(ASelf->FPresenter.cbbLogFilesChange(index)); });
    }

    // The list is filled again each time it opens, as the folder may have a new day's file.
    static void OnPopup(GtkComboBox* ACombo, GParamSpec*, TLogWindow* ASelf) {
        gboolean shown = FALSE;
        ASelf->FApi.g_object_get(ACombo, "popup-shown", &shown, nullptr);
        if (!shown) return;
        Guarded(ASelf->FApi, ASelf->FWindow, [&] {
            ASelf->FPresenter.cbbLogFilesDropDown();
            ASelf->ShowFileList();
        });
    }

    static void OnOpenDir(GtkButton*, TLogWindow* ASelf) {
        Guarded(ASelf->FApi, ASelf->FWindow, [&] { ASelf->FPresenter.btnOpenDirClick(); });
    }

    // A tick that fails shows its error box; the ticks meanwhile skip instead of stacking boxes.
    static gboolean OnTimer(void* AData) {
        auto* self = static_cast<TLogWindow*>(AData);
        if (self->FTicking) return G_SOURCE_CONTINUE;
        self->FTicking = true;
        Guarded(self->FApi, self->FWindow, [&] { self->Apply(self->FPresenter.tmrCheckFileTimer()); });
        self->FTicking = false;
        return G_SOURCE_CONTINUE;
    }

    void ShowFileList() {
        FUpdating = true;
        auto* combo = As<GtkComboBoxText>(FFileList);
        FApi.gtk_combo_box_text_remove_all(combo);
        for (const std::u16string& name : FPresenter.Files()) FApi.gtk_combo_box_text_append_text(combo, Utf8(name).c_str());
        FApi.gtk_combo_box_set_active(As<GtkComboBox>(FFileList), FPresenter.ItemIndex());
        FUpdating = false;
    }

    void Apply(const TLogTextUpdate& AUpdate) {
        if (AUpdate.Kind == TLogTextUpdate::TKind::None) return;
        GtkTextBuffer* buffer = FApi.gtk_text_view_get_buffer(As<GtkTextView>(FText));
        GtkTextIter iter;
        FApi.gtk_text_buffer_get_iter_at_mark(buffer, &iter, FApi.gtk_text_buffer_get_insert(buffer));
        const int caret = FApi.gtk_text_iter_get_offset(&iter);
        const std::string text = Utf8(AUpdate.Text);
        if (AUpdate.Kind == TLogTextUpdate::TKind::Replace) {
            FApi.gtk_text_buffer_set_text(buffer, text.c_str(), static_cast<int>(text.size()));
        } else {
            FApi.gtk_text_buffer_get_end_iter(buffer, &iter);
            FApi.gtk_text_buffer_insert(buffer, &iter, text.c_str(), static_cast<int>(text.size()));
        }
        if (AUpdate.KeepCaret || AUpdate.Kind == TLogTextUpdate::TKind::Append) {
            FApi.gtk_text_buffer_get_iter_at_offset(buffer, &iter, caret);
            FApi.gtk_text_buffer_place_cursor(buffer, &iter);
        }
        if (AUpdate.KeepCaret) {
            FApi.gtk_text_view_scroll_mark_onscreen(As<GtkTextView>(FText), FApi.gtk_text_buffer_get_insert(buffer));
            FApi.gtk_widget_grab_focus(FText);
        }
    }

    const TGtkApi& FApi;
    TDiskLogFiles FLogFiles;
    TXdgShell FShell;
    TfrmLog FPresenter;
    GtkWidget* FWindow = nullptr;
    GtkWidget* FFileList = nullptr;
    GtkWidget* FText = nullptr;
    bool FUpdating = false;
    bool FTicking = false;
};

}  // namespace

void ViewLogWindow() {
    TLogWindow window;
    window.Show();
}

}  // namespace forms
