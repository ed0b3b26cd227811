// The GTK view of the advanced settings dialog: it creates the widgets,
// copies the presenter's state into them and back, and forwards the events.
#include "forms/ufmAdvSettings.h"

#include <cmath>
#include <cstdio>

#include "forms/uAdvSettingsPages_gtk.h"
#include "forms/uGtkWindow_gtk.h"
#include "forms/ufmOpersEditTiger_gtk.h"
#include "lib/cf/DateTime.h"

namespace forms {

namespace {

using namespace gtk;

constexpr int kClientWidth = 408;
constexpr int kClientHeight = 473;
constexpr double kSecondsPerDay = 86400;

std::u16string DateText(const cf::DateTimeParts& AParts) {
    char text[32];
    std::snprintf(text, sizeof text, "%02u.%02u.%04u", AParts.Day, AParts.Month, AParts.Year);
    return Utf16(text);
}

class TAdvSettingsWindow {
public:
    explicit TAdvSettingsWindow(TfmAdvSettings& APresenter) : FApi(Gtk()), FPresenter(APresenter) {}

    void Show() {
        FWindow = NewDialog(FApi, u"Дополнительные настройки", kClientWidth, kClientHeight);
        FControls = CreateAdvSettingsControls(FApi, ContentOf(FApi, FWindow));
        Push();
        ShowDialog(FApi, FWindow);
        FApi.gtk_notebook_set_current_page(As<GtkNotebook>(FControls.Pages), FPresenter.State().PageIndex);
        ConnectEvents();
        RunDialog(FApi, FWindow);
    }

private:
    void ConnectEvents() {
        const TListBinding& firmware = FControls.Lists.front();
        Connect(FApi, firmware.Control, "changed", G_CALLBACK(&TAdvSettingsWindow::OnFirmWare), this);
        for (const TCheckBinding& b : FControls.Checks)
            if (b.Check->Field == &TAdvSettingsState::CurrentDateTime)
                Connect(FApi, b.Control, "toggled", G_CALLBACK(&TAdvSettingsWindow::OnCurrentDateTime), this);
        Connect(FApi, FControls.LabelTemplatePath, "changed", G_CALLBACK(&TAdvSettingsWindow::OnTemplatePath), this);
        Connect(FApi, FControls.Calendar, "day-selected", G_CALLBACK(&TAdvSettingsWindow::OnDay), this);
        Connect(FApi, FControls.OperEdit, "clicked", G_CALLBACK(&TAdvSettingsWindow::OnOperEdit), this);
        Connect(FApi, FControls.BrowseTemplatePath, "clicked", G_CALLBACK(&TAdvSettingsWindow::OnBrowse), this);
        Connect(FApi, FControls.Ok, "clicked", G_CALLBACK(&TAdvSettingsWindow::OnOk), this);
        Connect(FApi, FControls.Cancel, "clicked", G_CALLBACK(&TAdvSettingsWindow::OnCancel), this);
        Connect(FApi, FControls.Pages, "switch-page", G_CALLBACK(&TAdvSettingsWindow::OnPage), this);
    }

    // An event of the presenter between copying the controls out and back in.
    template <typename F>
    void Event(F&& AEvent) {
        if (FUpdating) return;
        Guarded(FApi, FWindow, [&] {
            Pull();
            AEvent();
            Push();
        });
    }

    static void OnFirmWare(GtkComboBox*, TAdvSettingsWindow* ASelf) {
        TfmAdvSettings& p = ASelf->FPresenter;
        ASelf->Event([&] { p.cbFirmWareChange(p.State().FirmWare.ItemIndex); });
    }
    static void OnCurrentDateTime(GtkToggleButton*, TAdvSettingsWindow* ASelf) {
        TfmAdvSettings& p = ASelf->FPresenter;
        ASelf->Event([&] { p.cbxCurrentDateTimeClick(p.State().CurrentDateTime); });
    }
    static void OnTemplatePath(GtkEditable*, TAdvSettingsWindow* ASelf) {
        TfmAdvSettings& p = ASelf->FPresenter;
        ASelf->Event([&] { p.LabelTemplatePathChange(p.State().LabelTemplatePath); });
    }
    static void OnDay(GtkCalendar*, TAdvSettingsWindow* ASelf) {
        ASelf->Event([] {});
    }
    static void OnOperEdit(GtkButton*, TAdvSettingsWindow* ASelf) {
        TOperatorEditorGtk editor(ASelf->FWindow);
        ASelf->Event([&] { ASelf->FPresenter.btnOperEditClick(editor); });
    }
    static void OnBrowse(GtkButton*, TAdvSettingsWindow* ASelf) {
        Guarded(ASelf->FApi, ASelf->FWindow, [&] { ASelf->BrowseForFolder(); });
    }
    static void OnOk(GtkButton*, TAdvSettingsWindow* ASelf) {
        // A failing step raises: the box shows it and the dialog stays open.
        ASelf->Event([&] {
            ASelf->FPresenter.btnOKClick();
            ASelf->FApi.gtk_dialog_response(As<GtkDialog>(ASelf->FWindow), GTK_RESPONSE_OK);
        });
    }
    static void OnCancel(GtkButton*, TAdvSettingsWindow* ASelf) {
        ASelf->FApi.gtk_dialog_response(As<GtkDialog>(ASelf->FWindow), GTK_RESPONSE_CANCEL);
    }
    static void OnPage(GtkNotebook*, GtkWidget*, unsigned APage, TAdvSettingsWindow* ASelf) {
        ASelf->FPresenter.State().PageIndex = static_cast<int>(APage);
    }

    void BrowseForFolder() {
        GtkWidget* chooser = FApi.gtk_file_chooser_dialog_new("Директория шаблона этикеток", As<GtkWindow>(FWindow),
                                                              GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "Отмена",
                                                              GTK_RESPONSE_CANCEL, "OK", GTK_RESPONSE_ACCEPT, nullptr);
        std::u16string folder;
        if (FApi.gtk_dialog_run(As<GtkDialog>(chooser)) == GTK_RESPONSE_ACCEPT) {
            char* name = FApi.gtk_file_chooser_get_filename(As<GtkFileChooser>(chooser));
            folder = Utf16(name);
            FApi.g_free(name);
        }
        FApi.gtk_widget_destroy(chooser);
        if (!folder.empty()) FApi.gtk_entry_set_text(As<GtkEntry>(FControls.LabelTemplatePath), Utf8(folder).c_str());
    }

    std::u16string EntryText(GtkWidget* AEntry) const { return Utf16(FApi.gtk_entry_get_text(As<GtkEntry>(AEntry))); }
    bool Active(GtkWidget* AToggle) const { return FApi.gtk_toggle_button_get_active(As<GtkToggleButton>(AToggle)); }
    GtkWidget* ListEntry(const TListBinding& AList) const { return FApi.gtk_bin_get_child(As<GtkBin>(AList.Control)); }

    void Pull() {
        TAdvSettingsState& s = FPresenter.State();
        for (const TCheckBinding& b : FControls.Checks) b.Check->Store(s, Active(b.Control));
        for (const TTextBinding& b : FControls.Texts) s.*b.Field = EntryText(b.Control);
        for (const TListBinding& b : FControls.Lists) {
            TChoiceList& list = s.*b.Field;
            list.ItemIndex = FApi.gtk_combo_box_get_active(As<GtkComboBox>(b.Control));
            list.Text = b.Typed ? EntryText(ListEntry(b)) : list.SelectedText();
        }
        s.MagazName = MagazName();
        s.Date = CalendarDate();
        s.Time = (FApi.gtk_spin_button_get_value_as_int(As<GtkSpinButton>(FControls.Hour)) * 3600 +
                  FApi.gtk_spin_button_get_value_as_int(As<GtkSpinButton>(FControls.Minute)) * 60 +
                  FApi.gtk_spin_button_get_value_as_int(As<GtkSpinButton>(FControls.Second))) /
                 kSecondsPerDay;
        s.SelectedOperator = SelectedOperator();
    }

    void Push() {
        FUpdating = true;
        const TAdvSettingsState& s = FPresenter.State();
        for (const TCheckBinding& b : FControls.Checks) SetActive(b.Control, b.Check->Shown(s));
        for (const TTextBinding& b : FControls.Texts) SetEntryText(b.Control, s.*b.Field);
        for (const TListBinding& b : FControls.Lists) PushList(b, s.*b.Field);
        if (MagazName() != s.MagazName) {
            const std::string text = Utf8(s.MagazName);
            FApi.gtk_text_buffer_set_text(MagazBuffer(), text.c_str(), static_cast<int>(text.size()));
        }
        PushDateTime(s);
        for (GtkWidget* control : FControls.DateTimeGroup) FApi.gtk_widget_set_sensitive(control, s.DateTimeEnabled);
        for (GtkWidget* control : FControls.PLU2Group) FApi.gtk_widget_set_sensitive(control, s.PLU2Enabled);
        PushOperators(s);
        FUpdating = false;
    }

    void SetActive(GtkWidget* AToggle, bool AValue) {
        if (Active(AToggle) != AValue) FApi.gtk_toggle_button_set_active(As<GtkToggleButton>(AToggle), AValue);
    }
    void SetEntryText(GtkWidget* AEntry, const std::u16string& AText) {
        if (EntryText(AEntry) != AText) FApi.gtk_entry_set_text(As<GtkEntry>(AEntry), Utf8(AText).c_str());
    }

    void PushList(const TListBinding& AList, const TChoiceList& AState) {
        auto* combo = As<GtkComboBoxText>(AList.Control);
        FApi.gtk_combo_box_text_remove_all(combo);
        for (const std::u16string& item : AState.Items) FApi.gtk_combo_box_text_append_text(combo, Utf8(item).c_str());
        FApi.gtk_combo_box_set_active(As<GtkComboBox>(AList.Control), AState.ItemIndex);
        if (AList.Typed && AState.ItemIndex < 0) SetEntryText(ListEntry(AList), AState.Text);
    }

    void PushDateTime(const TAdvSettingsState& s) {
        const cf::DateTimeParts date = cf::DecodeDateTime(std::floor(s.Date));
        if (CalendarDate() != std::floor(s.Date)) {
            FApi.gtk_calendar_select_month(As<GtkCalendar>(FControls.Calendar), date.Month - 1u, date.Year);
            FApi.gtk_calendar_select_day(As<GtkCalendar>(FControls.Calendar), date.Day);
        }
        SetEntryText(FControls.DateText, DateText(date));
        const long seconds = std::lround(s.Time * kSecondsPerDay);
        FApi.gtk_spin_button_set_value(As<GtkSpinButton>(FControls.Hour), static_cast<double>(seconds / 3600 % 24));
        FApi.gtk_spin_button_set_value(As<GtkSpinButton>(FControls.Minute), static_cast<double>(seconds / 60 % 60));
        FApi.gtk_spin_button_set_value(As<GtkSpinButton>(FControls.Second), static_cast<double>(seconds % 60));
    }

    double CalendarDate() const {
        unsigned year = 0, month = 0, day = 0;
        FApi.gtk_calendar_get_date(As<GtkCalendar>(FControls.Calendar), &year, &month, &day);
        cf::DateTimeParts parts;
        parts.Year = static_cast<uint16_t>(year), parts.Month = static_cast<uint16_t>(month + 1);
        parts.Day = static_cast<uint16_t>(day);
        return cf::EncodeDateTime(parts);
    }

    GtkTextBuffer* MagazBuffer() const { return FApi.gtk_text_view_get_buffer(As<GtkTextView>(FControls.MagazName)); }
    std::u16string MagazName() const {
        GtkTextIter start, end;
        FApi.gtk_text_buffer_get_bounds(MagazBuffer(), &start, &end);
        char* text = FApi.gtk_text_buffer_get_text(MagazBuffer(), &start, &end, FALSE);
        std::u16string name = Utf16(text);
        FApi.g_free(text);
        return name;
    }

    int SelectedOperator() const {
        GtkTreeModel* model = nullptr;
        GtkTreeIter iter;
        if (!FApi.gtk_tree_selection_get_selected(FApi.gtk_tree_view_get_selection(As<GtkTreeView>(FControls.Opers)),
                                                  &model, &iter))
            return -1;
        GtkTreePath* path = FApi.gtk_tree_model_get_path(model, &iter);
        const int row = FApi.gtk_tree_path_get_indices(path)[0];
        FApi.gtk_tree_path_free(path);
        return row;
    }

    void PushOperators(const TAdvSettingsState& s) {
        auto* rows = As<GtkTreeModel>(FControls.OperRows);
        GtkTreeIter iter;
        for (int row = 0; row < kOperatorRows; ++row)
            if (FApi.gtk_tree_model_iter_nth_child(rows, &iter, nullptr, row))
                FApi.gtk_list_store_set(FControls.OperRows, &iter, 1,
                                        Utf8(s.Operators[static_cast<std::size_t>(row)]).c_str(), -1);
    }

    const TGtkApi& FApi;
    TfmAdvSettings& FPresenter;
    GtkWidget* FWindow = nullptr;
    TAdvSettingsControls FControls;
    bool FUpdating = false;
};

}  // namespace

void ShowAdvSettingsDialog(int32_t AFirmwareType, bool AExtLogEnabled, const std::u16string& AIPAddress,
                           int32_t AIPPort) {
    OpenAdvSettings(AFirmwareType, AExtLogEnabled, AIPAddress, AIPPort, [](TfmAdvSettings& APresenter) {
        TAdvSettingsWindow window(APresenter);
        window.Show();
    });
}

}  // namespace forms
