// The GTK view of the help window: WebKitGTK filling the window or, without
// it, the document's text and a button that opens the page in the user's
// browser.
#include "forms/ufmDocView.h"

#include "forms/uGtkWebKit_gtk.h"
#include "forms/uGtkWindow_gtk.h"
#include "lib/cf/Exception.h"

namespace forms {

namespace {

using namespace gtk;

constexpr int kMargin = 8;
constexpr int kTextMargin = 6;

class TGtkDocViewSystem : public IDocViewSystem {
public:
    bool HasHtmlEngine() override { return WebKit().has_value(); }
    void OpenInSystemBrowser(const std::u16string& AFile) override { StartProgram(Gtk(), {"xdg-open", Utf8(AFile)}); }
};

std::string FileUri(const TGtkApi& AApi, const std::u16string& AFile) {
    GError* error = nullptr;
    char* uri = AApi.g_filename_to_uri(Utf8(AFile).c_str(), nullptr, &error);
    if (!uri) {
        const std::u16string reason = Utf16(error ? error->message : "");
        if (error) AApi.g_error_free(error);
        throw cf::Exception(u"Не удалось открыть страницу справки: " + reason);
    }
    std::string text = uri;
    AApi.g_free(uri);
    return text;
}

class TfrmDocView {
public:
    TfrmDocView(const std::u16string& AHtmlFilePath, const std::u16string& ACaption)
        : FApi(Gtk()), FPresenter(AHtmlFilePath, ACaption, FSystem) {}

    void Show() {
        const TDocViewState& state = FPresenter.State();
        FWindow = NewDialog(FApi, state.Caption, state.ClientWidth, state.ClientHeight);
        try {
            if (state.Mode == TDocViewMode::dvBrowser)
                CreateBrowser(state);
            else
                CreateTextControls(state);
        } catch (...) {
            FApi.gtk_widget_destroy(FWindow);
            throw;
        }
        RunDialog(FApi, FWindow);
        FPresenter.Closed();
    }

private:
    void CreateBrowser(const TDocViewState& AState) {
        const std::optional<TWebKitApi> webkit = WebKit();
        if (!webkit) throw cf::Exception(u"Не удалось загрузить WebKitGTK");
        GtkWidget* view = Named(FApi, webkit->webkit_web_view_new(), "wbBrowser");
        FApi.gtk_box_pack_start(As<GtkBox>(ContentOf(FApi, FWindow)), view, TRUE, TRUE, 0);
        webkit->webkit_web_view_load_uri(view, FileUri(FApi, AState.PageFile).c_str());
    }

    void CreateTextControls(const TDocViewState& AState) {
        GtkWidget* content = ContentOf(FApi, FWindow);
        GtkWidget* scroll = FApi.gtk_scrolled_window_new(nullptr, nullptr);
        FApi.gtk_scrolled_window_set_policy(As<GtkScrolledWindow>(scroll), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
        FApi.gtk_scrolled_window_set_shadow_type(As<GtkScrolledWindow>(scroll), GTK_SHADOW_IN);
        GtkWidget* text = Named(FApi, FApi.gtk_text_view_new(), "mmoText");
        auto* view = As<GtkTextView>(text);
        FApi.gtk_text_view_set_editable(view, FALSE);
        FApi.gtk_text_view_set_wrap_mode(view, GTK_WRAP_WORD_CHAR);
        FApi.gtk_text_view_set_left_margin(view, kTextMargin);
        FApi.gtk_text_view_set_right_margin(view, kTextMargin);
        const std::string document = Utf8(AState.DocumentText);
        FApi.gtk_text_buffer_set_text(FApi.gtk_text_view_get_buffer(view), document.c_str(),
                                      static_cast<int>(document.size()));
        FApi.gtk_container_add(As<GtkContainer>(scroll), text);
        FApi.gtk_box_pack_start(As<GtkBox>(content), scroll, TRUE, TRUE, 0);

        GtkWidget* open = Named(FApi, FApi.gtk_button_new_with_label(Utf8(AState.OpenButtonCaption).c_str()),
                                "btnOpenInBrowser");
        FApi.gtk_widget_set_halign(open, GTK_ALIGN_END);
        SetMargins(FApi, open, kMargin);
        FApi.gtk_box_pack_start(As<GtkBox>(content), open, FALSE, FALSE, 0);
        Connect(FApi, open, "clicked", G_CALLBACK(&TfrmDocView::OnOpen), this);
    }

    static void OnOpen(GtkButton*, TfrmDocView* ASelf) {
        Guarded(ASelf->FApi, ASelf->FWindow, [&] {
            const std::u16string error = ASelf->FPresenter.OpenInBrowserClicked();
            if (!error.empty()) ShowError(ASelf->FApi, ASelf->FWindow, error);
        });
    }

    const TGtkApi& FApi;
    TGtkDocViewSystem FSystem;
    TDocViewPresenter FPresenter;
    GtkWidget* FWindow = nullptr;
};

}  // namespace

void ShowDocView(const std::u16string& AHtmlFilePath, const std::u16string& ACaption) {
    TfrmDocView window(AHtmlFilePath, ACaption);
    window.Show();
}

}  // namespace forms
