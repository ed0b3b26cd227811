// "Дополнительные настройки" and "Имя оператора" on Linux, opened through
// DoAdditionalAction as the platform opens them, driven to the scale through
// their GTK widgets.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "forms/ufmAdvSettings.h"
#include "lib/cf/DateTime.h"
#include "lib/cf/TextUtils.h"
#include "tests/integration/driver/DriverFixture.h"
#include "tests/support/EveryFieldChanged.h"
#include "tests/support/ReferenceFrames.h"
#include "tests/ui/GtkProbe.h"
#include "tests/unit/forms/FormFakes.h"

namespace driver_tests {

using namespace ui_tests;

namespace {

constexpr char kCaption[] = "Дополнительные настройки";

std::vector<std::string> PageCaptions(GtkWidget* pages) {
    std::vector<std::string> captions;
    for (int i = 0; i < gtk_notebook_get_n_pages(GTK_NOTEBOOK(pages)); ++i)
        captions.emplace_back(gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(pages), gtk_notebook_get_nth_page(GTK_NOTEBOOK(pages), i)));
    return captions;
}

bool Active(GtkWidget* toggle) { return toggle && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(toggle)); }
int Chosen(GtkWidget* combo) { return combo ? gtk_combo_box_get_active(GTK_COMBO_BOX(combo)) : -2; }
bool Sensitive(GtkWidget* widget) { return widget && gtk_widget_is_sensitive(widget); }
void SetActive(GtkWidget* toggle, bool value) { gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(toggle), value); }
void Choose(GtkWidget* combo, int index) { gtk_combo_box_set_active(GTK_COMBO_BOX(combo), index); }
void Type(GtkWidget* entry, const std::string& text) { gtk_entry_set_text(GTK_ENTRY(entry), text.c_str()); }

std::string MessageText(GtkWidget* box) {
    char* text = nullptr;
    g_object_get(box, "text", &text, nullptr);
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

// The opening state of every page, a screenshot of each.
void CheckPages(TGtkProbe& p, GtkWidget* w) {
    GtkWidget* pages = nullptr;
    OnMain([&] {
        pages = Find(w, "PageControl1");
        p.Equal(PageCaptions(pages), std::vector<std::string>{"Конфигурация", "Параметры", "Операторы", "Дополнительно"},
                "pages");
        p.Equal(gtk_notebook_get_current_page(GTK_NOTEBOOK(pages)), 0, "first page at opening");
        p.Check(Active(Find(w, "rbPower1")) && Active(Find(w, "rbPrice1")), "radio defaults");
        p.Equal(ComboItems(Find(w, "cbPrinterMedia")),
                std::vector<std::string>{"0 Чековая лента", "1 Этикетка", "2 Этикетка + отчет"}, "paper items");
        p.Equal(Chosen(Find(w, "cbPrinterMedia")), 1, "paper default");
        p.Check(Find(w, "cbBarcodeOnStub") && !Active(Find(w, "cbBarcodeOnStub")), "receipt flags unchecked");
        p.Equal(std::string(gtk_frame_get_label(GTK_FRAME(gtk_widget_get_parent(Find(w, "gbParams"))))),
                std::string(" Параметры чека "), "receipt group");
    });
    p.Shot(w, "settings-1-configuration");
    const char* names[] = {"settings-2-parameters", "settings-3-operators", "settings-4-additional"};
    for (int page = 1; page <= 3; ++page) {
        OnMain([&] { gtk_notebook_set_current_page(GTK_NOTEBOOK(pages), page); });
        p.Shot(w, names[page - 1]);
    }
    OnMain([&] {
        p.Check(Sensitive(Find(w, "edDate")) && !Active(Find(w, "cbxCurrentDateTime")), "date enabled");
        p.Equal(EntryText(Find(w, "edPackageDateText")), std::string("Упаковано"), "package text");
        p.Equal(EntryText(Find(w, "edSellByDateText")), std::string("Дата продажи"), "sell-by text");
        p.Equal(EntryText(Find(w, "edPLU1")), std::string("1"), "font default");
        p.Equal(ComboItems(Find(w, "cbBestBeforeDate")).size(), std::size_t{5}, "best-before items");
        p.Equal(Chosen(Find(w, "cbShkFormat")), -1, "no barcode format");
        p.Equal(EntryText(Find(w, "edTimeHour")) + EntryText(Find(w, "edTimeMinute")), std::string("00"), "time 00:00");
        GtkTreeModel* rows = gtk_tree_view_get_model(GTK_TREE_VIEW(Find(w, "LWOpers")));
        p.Equal(gtk_tree_model_iter_n_children(rows, nullptr), 5, "five operator rows");
    });
}

// "Имя оператора" for operator ROW, waited for.
GtkWidget* OpenOperatorEditor(TGtkProbe& p, GtkWidget* w, int row) {
    PostToMain([=] {
        GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
        gtk_tree_selection_select_path(gtk_tree_view_get_selection(GTK_TREE_VIEW(Find(w, "LWOpers"))), path);
        gtk_tree_path_free(path);
        gtk_button_clicked(GTK_BUTTON(Find(w, "btnOperEdit")));
    });
    return p.WaitForWindow("Имя оператора");
}

// Edits operator ROW in the small window: OK keeps the name, Отмена does not.
void EditOperator(TGtkProbe& p, GtkWidget* w, int row, const std::string& name, bool confirm) {
    GtkWidget* editor = OpenOperatorEditor(p, w, row);
    if (!editor) return;
    OnMain([&] {
        p.Equal(WindowSize(editor), std::make_pair(253, 104), "operator window size " + SizeText(WindowSize(editor)));
        p.Equal(EntryText(Find(editor, "edNum")), std::to_string(row), "operator number");
        p.Check(gtk_window_get_focus(GTK_WINDOW(editor)) == Find(editor, "btnCancel"), "focus starts on Отмена");
        p.Equal(gtk_entry_get_max_length(GTK_ENTRY(Find(editor, "edName"))), 20, "name limit");
        p.Check(gtk_window_get_transient_for(GTK_WINDOW(editor)) == GTK_WINDOW(w), "over the dialog");
        Type(Find(editor, "edName"), name);
    });
    if (confirm) p.Shot(editor, "operator-name");
    OnMain([&] { gtk_button_clicked(GTK_BUTTON(Find(editor, confirm ? "btnOk" : "btnCancel"))); });
    p.Check(p.WaitClosed("Имя оператора"), "operator window closes");
}

// OK with a font outside 1..20: the box, then the dialog still open.
void RefusedFont(TGtkProbe& p, GtkWidget* w) {
    OnMain([&] { Type(Find(w, "edDopText"), "21"); });
    PostToMain([=] { gtk_button_clicked(GTK_BUTTON(Find(w, "btnOK"))); });
    GtkWidget* box = p.WaitForWindow("Ошибка");
    if (!box) return;
    OnMain([&] {
        p.Check(gtk_window_get_transient_for(GTK_WINDOW(box)) == GTK_WINDOW(w), "the box is owned by the dialog");
        p.Equal(MessageText(box), std::string("Шрифт дополнительного текста: нужно число от 1 до 20, указано «21»"),
                "the box names the field");
    });
    p.Shot(box, "settings-error");
    OnMain([&] { gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK); });
    p.Check(p.WaitClosed("Ошибка"), "box closes");
    OnMain([&] {
        p.Check(FindWindow(kCaption) == w, "dialog stays open");
        Type(Find(w, "edDopText"), "13");
    });
}

// Every field of the dialog changed, on one-line firmware.
void ChangeEveryField(TGtkProbe& p, GtkWidget* w, const std::filesystem::path& templates) {
    OnMain([&] {
        Choose(Find(w, "cbFirmWare"), 0);
        p.Check(!Sensitive(Find(w, "edPLU2")) && !Sensitive(Find(w, "lbPLU2")), "second line font off for one-line firmware");
        p.Equal(ComboItems(Find(w, "cbPackageDate")).size(), std::size_t{4}, "one-line package dates");
        SetActive(Find(w, "rbPower2"), true);
        Choose(Find(w, "cbPrinterMedia"), 0);
        SetActive(Find(w, "cbRunningMessage"), true);
        SetActive(Find(w, "rbPrice2"), true);
        for (const char* flag : {"cbPLUNumber", "cbBarcode", "cbHeader", "cbTare"}) SetActive(Find(w, flag), true);
        GtkTextBuffer* name = gtk_text_view_get_buffer(GTK_TEXT_VIEW(Find(w, "edMagazName")));
        gtk_text_buffer_set_text(name, "Магазин Ромашка", -1);
        SetActive(Find(w, "cbStoreAddress"), true);
        SetActive(Find(w, "cbxCurrentDateTime"), true);
        p.Check(!Sensitive(Find(w, "edDate")) && !Sensitive(Find(w, "edTimeHour")), "computer clock disables date and time");
        SetActive(Find(w, "cbxCurrentDateTime"), false);
        p.Check(Sensitive(Find(w, "edDate")) && Sensitive(Find(w, "edTimeSecond")), "and enables them again");
        gtk_calendar_select_month(GTK_CALENDAR(Find(w, "calDate")), 2, 2024);
        gtk_calendar_select_day(GTK_CALENDAR(Find(w, "calDate")), 5);
        p.Equal(EntryText(Find(w, "edDate")), std::string("05.03.2024"), "the chosen day shown");
        gtk_spin_button_set_value(GTK_SPIN_BUTTON(Find(w, "edTimeHour")), 14);
        gtk_spin_button_set_value(GTK_SPIN_BUTTON(Find(w, "edTimeMinute")), 7);
        gtk_spin_button_set_value(GTK_SPIN_BUTTON(Find(w, "edTimeSecond")), 9);
        Choose(Find(w, "cbPackageDate"), 2);
        Choose(Find(w, "cbBestBeforeDate"), 3);
        Choose(Find(w, "cbSellByDate"), 1);
        Type(Find(w, "edPackageDateText"), "Упак.");
        Type(Find(w, "edBestBeforeDateText"), "Годен до");
        Type(Find(w, "edSellByDateText"), "Продать до");
        Type(Find(w, "edPLU1"), "2");
        Type(Find(w, "edPLU2"), "5");
        Type(Find(w, "LabelTemplatePath"), templates.string());  // no trailing separator
        p.Equal(ComboItems(Find(w, "cbLabelFormat")), std::vector<std::string>{"Оставить текущую", "Мясо", "Рыба"},
                "labels of the template file");
        Choose(Find(w, "cbLabelFormat"), 2);
        Choose(Find(w, "cbShkFormat"), 2);
        Type(Find(w, "edShkPref"), "22");
        gtk_notebook_set_current_page(GTK_NOTEBOOK(Find(w, "PageControl1")), 2);
    });
    EditOperator(p, w, 0, "Иванов", true);
    EditOperator(p, w, 2, "Петрова", true);
    EditOperator(p, w, 4, "Сидоров", true);
    EditOperator(p, w, 1, "Никто", false);
    OnMain([&] {
        GtkTreeModel* rows = gtk_tree_view_get_model(GTK_TREE_VIEW(Find(w, "LWOpers")));
        GtkTreeIter iter;
        char* second = nullptr;
        gtk_tree_model_iter_nth_child(rows, &iter, nullptr, 1);
        gtk_tree_model_get(rows, &iter, 1, &second, -1);
        p.Equal(std::string(second ? second : "?"), std::string(), "Отмена leaves the old name");
        g_free(second);
    });
    p.Shot(w, "settings-operators-filled");
    OnMain([&] { gtk_notebook_set_current_page(GTK_NOTEBOOK(Find(w, "PageControl1")), 3); });
    RefusedFont(p, w);
    p.Shot(w, "settings-filled");
}

// The frames the presenter sends for the values ChangeEveryField typed, from a simulator of their own.
std::vector<std::string> PresenterFrames(const std::filesystem::path& templates) {
    tiger_sim::TSimOptions options;
    options.KeepJournal = true;
    tiger_sim::TSimulator sim(options);
    forms_tests::FakeClock clock;
    forms::TfmAdvSettings dialog(clock, nullptr);
    dialog.IPAddress = u"127.0.0.1";
    dialog.IPPort = sim.Start();
    dialog.FirmwareType = 0;
    test_support::ChangeEveryField(dialog, templates);
    dialog.btnOKClick();
    std::vector<std::string> frames = test_support::ReceivedFrames(sim);
    sim.Stop();
    return frames;
}

// Keys as a user presses them in the field NAME of page PAGE (a typed list: in its text).
void PressIn(GtkWidget* w, int page, const char* name, guint key) {
    gtk_notebook_set_current_page(GTK_NOTEBOOK(Find(w, "PageControl1")), page);
    GtkWidget* field = Find(w, name);
    PressKey(w, GTK_IS_COMBO_BOX(field) ? gtk_bin_get_child(GTK_BIN(field)) : field, key);
}

}  // namespace

TEST_F(DriverTest, AdvSettingsOnGtkNeedAnOpenDriver) {
    EXPECT_FALSE(CallBool(u"DoAdditionalAction", {Text(u"ShowAdvSettings")}));
    EXPECT_EQ(LastError().second, u"Устройство не включено");
}

TEST_F(DriverTest, AdvSettingsWindowOnGtkWritesTheScale) {
    const std::filesystem::path templates = std::filesystem::path(LogFolder().Path()).parent_path() / "wq-gtk-labels";
    const std::string label = test_support::ReferenceFrame(0xF4, 0, 0, 0x02, "\x20\x41");
    test_support::WriteLabelTemplates(templates, label);

    ASSERT_TRUE(OpenOnSimulator(0));
    TGtkProbe probe([&](TGtkProbe& p) {
        GtkWidget* w = p.WaitForWindow(kCaption);
        if (!w) return;
        OnMain([&] {
            p.Equal(WindowSize(w), std::make_pair(408, 473), "window size " + SizeText(WindowSize(w)));
            p.Check(gtk_window_get_modal(GTK_WINDOW(w)), "modal");
            p.Equal(ComboItems(Find(w, "cbFirmWare")),
                    std::vector<std::string>{"1 строка наименования товара", "2 строки наименования товара"},
                    "firmware items");
            p.Equal(Chosen(Find(w, "cbFirmWare")), 1, "firmware default");
        });
        CheckPages(p, w);
        ChangeEveryField(p, w, templates);
        PostToMain([=] { gtk_button_clicked(GTK_BUTTON(Find(w, "btnOK"))); });
        GtkWidget* box = nullptr;
        WaitFor([&] {
            bool open = true;
            if (!OnMain([&] { box = FindWindow("Ошибка"), open = FindWindow(kCaption) != nullptr; }, kLoopLeftMs))
                return true;
            return box || !open;
        });
        if (box) {
            OnMain([&] {
                p.Check(false, "OK answered: " + MessageText(box));
                gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
            });
            p.Shot(w, "settings-unexpected-error");
            PostToMain([=] { gtk_button_clicked(GTK_BUTTON(Find(w, "btnCancel"))); });
        }
    });
    EXPECT_TRUE(CallBool(u"DoAdditionalAction", {Text(u"ShowAdvSettings")}));
    const std::vector<std::string> failures = probe.Finish();
    EXPECT_TRUE(failures.empty()) << Joined(failures);
    const std::vector<std::string> frames = ReceivedFrames();
    EXPECT_EQ(frames, PresenterFrames(templates)) << "the window sends what its rules send for the values shown";
    EXPECT_EQ(frames.at(2), label) << "the chosen label, byte for byte";
    std::filesystem::remove_all(templates);
}

// "Отмена", and Escape in a field.
TEST_F(DriverTest, AdvSettingsOnGtkCancelSendsNothing) {
    ASSERT_TRUE(OpenOnSimulator(1));
    const std::function<void(TGtkProbe&, GtkWidget*)> cancels[] = {
        [](TGtkProbe&, GtkWidget* w) { OnMain([&] { gtk_button_clicked(GTK_BUTTON(Find(w, "btnCancel"))); }); },
        [](TGtkProbe& p, GtkWidget* w) {
            OnMain([&] { PressIn(w, 3, "edShkPref", GDK_KEY_Escape); });
            p.Check(p.WaitClosed(kCaption), "Escape closes the dialog");
        }};
    for (const auto& cancel : cancels) {
        TGtkProbe probe([&](TGtkProbe& p) {
            GtkWidget* w = p.WaitForWindow(kCaption);
            if (!w) return;
            OnMain([&] { SetActive(Find(w, "cbBarcode"), true); });
            cancel(p, w);
        });
        EXPECT_TRUE(CallBool(u"DoAdditionalAction", {Text(u"ShowAdvSettings")}));
        const std::vector<std::string> failures = probe.Finish();
        EXPECT_TRUE(failures.empty()) << Joined(failures);
        EXPECT_TRUE(ReceivedFrames().empty());
    }
}

// Enter in a field writes nothing (in the store name it starts a new line);
// only the OK button does, here by Space while it has the focus.
TEST_F(DriverTest, AdvSettingsOnGtkSendOnlyFromTheOkButton) {
    ASSERT_TRUE(OpenOnSimulator(1));
    TGtkProbe probe([&](TGtkProbe& p) {
        GtkWidget* w = p.WaitForWindow(kCaption);
        if (!w) return;
        const std::pair<int, const char*> fields[] = {{0, "cbRunningMessage"}, {1, "edMagazName"},
                                                      {1, "edTimeMinute"},     {3, "cbPackageDate"},
                                                      {3, "edPackageDateText"}, {3, "edPLU1"},
                                                      {3, "LabelTemplatePath"}, {3, "edShkPref"}};
        for (const auto& [page, name] : fields) {
            OnMain([&] {
                PressIn(w, page, name, GDK_KEY_Return);
                PressIn(w, page, name, GDK_KEY_KP_Enter);
            });
            // A button that a key activates is clicked a moment later.
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
            bool open = false;
            OnMain([&] { open = FindWindow(kCaption) == w; }, kLoopLeftMs);
            p.Check(open && ReceivedFrames().empty(), std::string("Enter in ") + name + " sends nothing");
            if (!open) return;
        }
        OnMain([&] { p.Equal(TextViewText(Find(w, "edMagazName")), std::string("\n\n"), "Enter in the store name"); });
        p.Shot(w, "settings-after-enter");
        // The operator window keeps OK as its default.
        GtkWidget* editor = OpenOperatorEditor(p, w, 0);
        if (!editor) return;
        OnMain([&] {
            Type(Find(editor, "edName"), "Иванов");
            PressKey(editor, Find(editor, "edName"), GDK_KEY_Return);
        });
        p.Check(p.WaitClosed("Имя оператора"), "Enter in the operator's name confirms it");
        OnMain([&] { PressKey(w, Find(w, "btnOK"), GDK_KEY_space); });
        p.Check(p.WaitClosed(kCaption), "Space on OK closes the dialog");
    });
    EXPECT_TRUE(CallBool(u"DoAdditionalAction", {Text(u"ShowAdvSettings")}));
    const std::vector<std::string> failures = probe.Finish();
    EXPECT_TRUE(failures.empty()) << Joined(failures);
    const tiger_sim::TScaleState state = sim->State();
    EXPECT_TRUE(state.OperatorOptions.has_value()) << "OK sends";
    EXPECT_TRUE(state.Company.has_value()) << "with the store name";
    EXPECT_EQ(tiger_sim::TextOf866(state.Operators.at(0)), "Иванов");
}

}  // namespace driver_tests
