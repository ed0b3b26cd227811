#include "forms/uAdvSettingsPages_gtk.h"

#include "forms/uGtkWindow_gtk.h"

namespace forms::gtk {

namespace {

using S = TAdvSettingsState;
constexpr int kSpacing = 4;

// Adds named widgets to a grid of one page or group.
struct TBuilder {
    const TGtkApi& Api;
    GtkWidget* Grid;

    void Put(GtkWidget* AWidget, int AColumn, int ARow, int AWidth = 1) const {
        Api.gtk_grid_attach(As<GtkGrid>(Grid), AWidget, AColumn, ARow, AWidth, 1);
    }
    GtkWidget* Text(const std::u16string& ACaption, int AColumn, int ARow, int AWidth = 1) const {
        GtkWidget* label = Label(Api, ACaption);
        Put(label, AColumn, ARow, AWidth);
        return label;
    }
    // A check box, or one of a pair of radio buttons; APair is the pair's first.
    GtkWidget* Toggle(const TCheckControl& ACheck, GtkWidget* APair) const {
        const std::string caption = Utf8(ACheck.Caption);
        GtkWidget* toggle =
            ACheck.Kind == TCheckKind::Check
                ? Api.gtk_check_button_new_with_label(caption.c_str())
                : Api.gtk_radio_button_new_with_label_from_widget(
                      As<GtkRadioButton>(ACheck.Kind == TCheckKind::RadioSecond ? APair : nullptr), caption.c_str());
        return Named(Api, toggle, ACheck.Name);
    }
    GtkWidget* Entry(const char* AName) const {
        GtkWidget* entry = Named(Api, Api.gtk_entry_new(), AName);
        Api.gtk_widget_set_hexpand(entry, TRUE);
        return entry;
    }
    // A drop-down list; with an entry when it also accepts typing.
    GtkWidget* List(const char* AName, bool ATyped) const {
        GtkWidget* list = ATyped ? Api.gtk_combo_box_text_new_with_entry() : Api.gtk_combo_box_text_new();
        // A typed date list is as wide as its longest item; its text field beside it takes the rest.
        if (ATyped) Api.gtk_entry_set_width_chars(As<GtkEntry>(Api.gtk_bin_get_child(As<GtkBin>(list))), 10);
        Api.gtk_widget_set_hexpand(list, !ATyped);
        return Named(Api, list, AName);
    }
    GtkWidget* Spin(const char* AName, int AMin, int AMax, int ADigits) const {
        GtkWidget* spin = Named(Api, Api.gtk_spin_button_new_with_range(AMin, AMax, 1), AName);
        Api.gtk_entry_set_max_length(As<GtkEntry>(spin), ADigits);
        Api.gtk_entry_set_width_chars(As<GtkEntry>(spin), ADigits + 1);
        return spin;
    }
    // A titled frame holding a grid of its own.
    TBuilder Group(const std::u16string& ATitle, int AColumn, int ARow, int AWidth = 1) const {
        GtkWidget* frame = Api.gtk_frame_new(Utf8(ATitle).c_str());
        Put(frame, AColumn, ARow, AWidth);
        TBuilder inner = Nested(Api);
        SetMargins(Api, inner.Grid, kSpacing);
        Api.gtk_container_add(As<GtkContainer>(frame), inner.Grid);
        return inner;
    }
    static TBuilder Nested(const TGtkApi& AApi) {
        GtkWidget* grid = AApi.gtk_grid_new();
        AApi.gtk_grid_set_row_spacing(As<GtkGrid>(grid), kSpacing);
        AApi.gtk_grid_set_column_spacing(As<GtkGrid>(grid), kSpacing);
        return {AApi, grid};
    }
};

// The check boxes of AGroup: row 0 is grid row AFirstRow; each takes AWidth columns.
void AddChecks(const TBuilder& b, TAdvSettingsControls& c, TCheckGroup AGroup, int AFirstRow, int AWidth = 1) {
    GtkWidget* pair = nullptr;  // the first radio button of the pair being built
    for (const TCheckControl& check : CheckControls()) {
        if (check.Group != AGroup) continue;
        GtkWidget* toggle = b.Toggle(check, pair);
        if (check.Kind == TCheckKind::RadioFirst) pair = toggle;
        b.Put(toggle, check.Column * AWidth, AFirstRow + check.Row, AWidth);
        c.Checks.push_back({toggle, &check});
    }
}

TBuilder AddPage(const TGtkApi& AApi, GtkWidget* APages, const std::u16string& ACaption, const char* AName) {
    TBuilder page = TBuilder::Nested(AApi);
    SetMargins(AApi, page.Grid, kSpacing);
    Named(AApi, page.Grid, AName);
    AApi.gtk_notebook_append_page(As<GtkNotebook>(APages), page.Grid, Label(AApi, ACaption));
    return page;
}

void CreateConfigurationPage(const TBuilder& b, TAdvSettingsControls& c) {
    AddChecks(b.Group(u"Основной режим", 0, 0, 2), c, TCheckGroup::Mode, 0);
    b.Text(u"Тип бумаги", 0, 1);
    GtkWidget* media = b.List("cbPrinterMedia", false);
    b.Put(media, 1, 1);
    c.Lists.push_back({media, &S::PrinterMedia, false});
    AddChecks(b, c, TCheckGroup::Configuration, 2, 2);
    AddChecks(b.Group(u" Ручной ввод цены ", 0, 3, 2), c, TCheckGroup::PriceEntry, 0);
    const TBuilder receipt = b.Group(u" Параметры чека ", 0, 4, 2);
    Named(b.Api, receipt.Grid, "gbParams");
    AddChecks(receipt, c, TCheckGroup::Receipt, 0);
}

// edDate: the date as text and a button that opens a calendar under it.
GtkWidget* DateField(const TBuilder& b, TAdvSettingsControls& c) {
    const TGtkApi& api = b.Api;
    GtkWidget* box = api.gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2);
    c.DateText = b.Entry("edDate");
    api.gtk_editable_set_editable(As<GtkEditable>(c.DateText), FALSE);
    api.gtk_entry_set_width_chars(As<GtkEntry>(c.DateText), 10);
    api.gtk_box_pack_start(As<GtkBox>(box), c.DateText, TRUE, TRUE, 0);
    GtkWidget* button = Named(api, api.gtk_menu_button_new(), "btnDateCalendar");
    api.gtk_button_set_image(As<GtkButton>(button), api.gtk_image_new_from_icon_name("x-office-calendar", GTK_ICON_SIZE_BUTTON));
    GtkWidget* popover = api.gtk_popover_new(button);
    c.Calendar = Named(api, api.gtk_calendar_new(), "calDate");
    api.gtk_container_add(As<GtkContainer>(popover), c.Calendar);
    api.gtk_widget_show_all(c.Calendar);
    api.gtk_menu_button_set_popover(As<GtkMenuButton>(button), popover);
    api.gtk_box_pack_start(As<GtkBox>(box), button, FALSE, FALSE, 0);
    c.DateTimeGroup.push_back(c.DateText);
    c.DateTimeGroup.push_back(button);
    return box;
}

// edTime: hours, minutes and seconds.
GtkWidget* TimeField(const TBuilder& b, TAdvSettingsControls& c) {
    GtkWidget* box = Named(b.Api, b.Api.gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2), "edTime");
    c.Hour = b.Spin("edTimeHour", 0, 23, 2);
    c.Minute = b.Spin("edTimeMinute", 0, 59, 2);
    c.Second = b.Spin("edTimeSecond", 0, 59, 2);
    for (GtkWidget* part : {c.Hour, c.Minute, c.Second}) {
        b.Api.gtk_box_pack_start(As<GtkBox>(box), part, FALSE, FALSE, 0);
        c.DateTimeGroup.push_back(part);
    }
    return box;
}

void CreateParametersPage(const TBuilder& b, TAdvSettingsControls& c) {
    const TGtkApi& api = b.Api;
    b.Text(u"Имя магазина:", 0, 0);
    GtkWidget* scroll = api.gtk_scrolled_window_new(nullptr, nullptr);
    api.gtk_scrolled_window_set_policy(As<GtkScrolledWindow>(scroll), GTK_POLICY_NEVER, GTK_POLICY_ALWAYS);
    api.gtk_scrolled_window_set_shadow_type(As<GtkScrolledWindow>(scroll), GTK_SHADOW_IN);
    api.gtk_widget_set_size_request(scroll, -1, 90);
    api.gtk_widget_set_hexpand(scroll, TRUE);
    c.MagazName = Named(api, api.gtk_text_view_new(), "edMagazName");
    api.gtk_text_view_set_wrap_mode(As<GtkTextView>(c.MagazName), GTK_WRAP_WORD_CHAR);
    api.gtk_container_add(As<GtkContainer>(scroll), c.MagazName);
    b.Put(scroll, 0, 1);
    AddChecks(b, c, TCheckGroup::Parameters, 2);
    const TBuilder clock = b.Group(u" Установка даты и времени ", 0, 3);
    clock.Text(u"Дата:", 0, 0);
    clock.Put(DateField(clock, c), 1, 0);
    clock.Text(u"Время:", 0, 1);
    clock.Put(TimeField(clock, c), 1, 1);
    AddChecks(clock, c, TCheckGroup::Clock, 2, 2);
}

void CreateOperatorsPage(const TBuilder& b, TAdvSettingsControls& c) {
    const TGtkApi& api = b.Api;
    const TBuilder group = b.Group(u" Операторы ", 0, 0);
    GtkListStore* rows = api.gtk_list_store_new(2, G_TYPE_STRING, G_TYPE_STRING);
    for (int row = 0; row < kOperatorRows; ++row) {
        GtkTreeIter iter;
        api.gtk_list_store_append(rows, &iter);
        api.gtk_list_store_set(rows, &iter, 0, std::to_string(row).c_str(), 1, "", -1);
    }
    c.Opers = Named(api, api.gtk_tree_view_new_with_model(As<GtkTreeModel>(rows)), "LWOpers");
    api.g_object_unref(rows);  // the view keeps it
    c.OperRows = rows;
    const char* columns[] = {"Номер", "Имя"};
    for (int i = 0; i < 2; ++i)
        api.gtk_tree_view_insert_column_with_attributes(As<GtkTreeView>(c.Opers), -1, columns[i],
                                                        api.gtk_cell_renderer_text_new(), "text", i, nullptr);
    GtkWidget* scroll = api.gtk_scrolled_window_new(nullptr, nullptr);
    api.gtk_scrolled_window_set_shadow_type(As<GtkScrolledWindow>(scroll), GTK_SHADOW_IN);
    api.gtk_widget_set_size_request(scroll, -1, 236);
    api.gtk_widget_set_hexpand(scroll, TRUE);
    api.gtk_container_add(As<GtkContainer>(scroll), c.Opers);
    group.Put(scroll, 0, 0);
    c.OperEdit = Named(api, api.gtk_button_new_with_label("Редактировать"), "btnOperEdit");
    api.gtk_widget_set_halign(c.OperEdit, GTK_ALIGN_END);
    group.Put(c.OperEdit, 0, 1);
}

void CreateAdditionalPage(const TBuilder& b, TAdvSettingsControls& c) {
    struct TDateRow {
        const char16_t* Caption;
        const char* ListName;
        const char* TextName;
        TChoiceList S::*List;
        std::u16string S::*Text;
    };
    const TDateRow dates[] = {
        {u"Дата упаковки:", "cbPackageDate", "edPackageDateText", &S::PackageDate, &S::PackageDateText},
        {u"Использовать до:", "cbBestBeforeDate", "edBestBeforeDateText", &S::BestBeforeDate, &S::BestBeforeDateText},
        {u"Дата продажи:", "cbSellByDate", "edSellByDateText", &S::SellByDate, &S::SellByDateText}};
    for (int i = 0; i < 3; ++i) {
        b.Text(dates[i].Caption, 0, i);
        GtkWidget* list = b.List(dates[i].ListName, true);
        b.Put(list, 1, i);
        c.Lists.push_back({list, dates[i].List, true});
        b.Text(u"Текст:", 2, i);
        GtkWidget* text = b.Entry(dates[i].TextName);
        b.Api.gtk_entry_set_width_chars(As<GtkEntry>(text), 8);
        b.Put(text, 3, i);
        c.Texts.push_back({text, dates[i].Text});
    }
    struct TFontRow {
        const char16_t* Caption;
        const char* Name;
        std::u16string S::*Field;
    };
    const TFontRow fonts[] = {{u"Шрифт 1-й строки наименования:", "edPLU1", &S::PLU1},
                              {u"Шрифт 2-й строки наименования:", "edPLU2", &S::PLU2},
                              {u"Шрифт дополнительного текста:", "edDopText", &S::DopText}};
    for (int i = 0; i < 3; ++i) {
        GtkWidget* label = b.Text(fonts[i].Caption, 0, 3 + i, 3);
        GtkWidget* spin = b.Spin(fonts[i].Name, kFontMin, kFontMax, kFontDigits);
        b.Put(spin, 3, 3 + i);
        c.Texts.push_back({spin, fonts[i].Field});
        if (i == 1) c.PLU2Group = {spin, Named(b.Api, label, "lbPLU2")};
    }
    b.Text(u"Этикетка:", 0, 6);
    GtkWidget* label = b.List("cbLabelFormat", false);
    b.Put(label, 1, 6, 3);
    c.Lists.push_back({label, &S::LabelFormat, false});
    b.Text(u"Путь к директории шаблона этикеток:", 0, 7, 4);
    GtkWidget* path = b.Api.gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2);
    c.LabelTemplatePath = b.Entry("LabelTemplatePath");
    c.Texts.push_back({c.LabelTemplatePath, &S::LabelTemplatePath});
    b.Api.gtk_box_pack_start(As<GtkBox>(path), c.LabelTemplatePath, TRUE, TRUE, 0);
    c.BrowseTemplatePath =
        Named(b.Api, b.Api.gtk_button_new_from_icon_name("folder", GTK_ICON_SIZE_BUTTON), "btnBrowseTemplatePath");
    b.Api.gtk_box_pack_start(As<GtkBox>(path), c.BrowseTemplatePath, FALSE, FALSE, 0);
    b.Put(path, 0, 8, 4);
    const TBuilder barcode = b.Group(u" Параметры штрихкода ", 0, 9, 4);
    barcode.Text(u"Формат штрихкода:", 0, 0);
    GtkWidget* format = barcode.List("cbShkFormat", false);
    barcode.Put(format, 1, 0);
    c.Lists.push_back({format, &S::ShkFormat, false});
    barcode.Text(u"Префикс штрихкода (X):", 0, 1);
    GtkWidget* prefix = barcode.Entry("edShkPref");
    barcode.Put(prefix, 1, 1);
    c.Texts.push_back({prefix, &S::ShkPref});
}

}  // namespace

TAdvSettingsControls CreateAdvSettingsControls(const TGtkApi& AApi, GtkWidget* AContent) {
    TAdvSettingsControls c;
    const TBuilder main = TBuilder::Nested(AApi);
    SetMargins(AApi, main.Grid, 4);
    AApi.gtk_box_pack_start(As<GtkBox>(AContent), main.Grid, TRUE, TRUE, 0);

    const TBuilder firmware = main.Group(u"", 0, 0, 3);
    Named(AApi, firmware.Grid, "gbFirmWare");
    GtkWidget* title = firmware.Text(u"", 0, 0);
    AApi.gtk_label_set_markup(As<GtkLabel>(title), "<b>Тип прошивки весов:</b>");
    GtkWidget* list = firmware.List("cbFirmWare", false);
    firmware.Put(list, 1, 0);
    c.Lists.push_back({list, &S::FirmWare, false});

    c.Pages = Named(AApi, AApi.gtk_notebook_new(), "PageControl1");
    AApi.gtk_widget_set_vexpand(c.Pages, TRUE);
    main.Put(c.Pages, 0, 1, 3);
    CreateConfigurationPage(AddPage(AApi, c.Pages, u"Конфигурация", "pageConfiguration"), c);
    CreateParametersPage(AddPage(AApi, c.Pages, u"Параметры", "pageParameters"), c);
    CreateOperatorsPage(AddPage(AApi, c.Pages, u"Операторы", "pageOperators"), c);
    CreateAdditionalPage(AddPage(AApi, c.Pages, u"Дополнительно", "pageAdditional"), c);

    GtkWidget* spacer = AApi.gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    AApi.gtk_widget_set_hexpand(spacer, TRUE);
    main.Put(spacer, 0, 2);
    c.Ok = Named(AApi, AApi.gtk_button_new_with_label("OK"), "btnOK");
    c.Cancel = Named(AApi, AApi.gtk_button_new_with_label("Отмена"), "btnCancel");
    for (GtkWidget* button : {c.Ok, c.Cancel}) AApi.gtk_widget_set_size_request(button, 75, -1);
    main.Put(c.Ok, 1, 2);
    main.Put(c.Cancel, 2, 2);
    return c;
}

}  // namespace forms::gtk
