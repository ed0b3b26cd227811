// "Дополнительные настройки" and "Имя оператора" opened through
// DoAdditionalAction as the platform opens them, driven to the scale.
// The fixture first: the system's headers define "interface" as a word.
#include "tests/integration/driver/DriverFixture.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "forms/uControlIds.h"
#include "lib/cf/TextUtils.h"
#include "tests/ui/UiProbe.h"

namespace driver_tests {

using namespace ui_tests;
namespace ids = forms::ids;

namespace {

constexpr char16_t kCaption[] = u"Дополнительные настройки";

std::vector<std::u16string> TabCaptions(HWND tabs) {
    std::vector<std::u16string> captions;
    const LRESULT count = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        captions.emplace_back(buffer, buffer + wcslen(buffer));
    }
    return captions;
}

// The opening state of every page, looked at page by page with a screenshot each.
void CheckPages(TProbe& p, HWND window) {
    HWND tabs = Child(window, ids::kPages);
    p.Equal(TabCaptions(tabs), std::vector<std::u16string>{u"Конфигурация", u"Параметры", u"Операторы", u"Дополнительно"},
            "pages");
    p.Equal(static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)), 0, "first page at opening");
    p.Check(IsChecked(Child(window, ids::kPower1)) && IsChecked(Child(window, ids::kPrice1)), "radio defaults");
    p.Equal(ComboItems(Child(window, ids::kPrinterMedia)),
            std::vector<std::u16string>{u"0 Чековая лента", u"1 Этикетка", u"2 Этикетка + отчет"}, "paper items");
    p.Equal(ComboIndex(Child(window, ids::kPrinterMedia)), 1, "paper default");
    p.Check(ChildByText(window, u"Штрихкод на корешке") && ChildByText(window, u" Параметры чека "), "receipt flags");
    p.Check(Screenshot("settings-1-configuration"), "screenshot 1");
    const char* names[] = {"settings-2-parameters", "settings-3-operators", "settings-4-additional"};
    for (int page = 1; page <= 3; ++page) {
        SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
        p.Check(IsWindowVisible(GetParent(Child(window, page == 1   ? ids::kMagazName
                                                       : page == 2 ? ids::kOpers
                                                                   : ids::kShkFormat))),
                std::string("page shown: ") + names[page - 1]);
        p.Check(Screenshot(names[page - 1]), std::string("screenshot ") + names[page - 1]);
    }
    p.Check(IsWindowEnabled(Child(window, ids::kDate)), "date enabled");
    p.Equal(TextOf(Child(window, ids::kPackageDateText)), std::u16string(u"Упаковано"), "package text");
    p.Equal(TextOf(Child(window, ids::kSellByDateText)), std::u16string(u"Дата продажи"), "sell-by text");
    p.Equal(TextOf(Child(window, ids::kPLU1)), std::u16string(u"1"), "font default");
    p.Equal(ComboItems(Child(window, ids::kBestBeforeDate)).size(), std::size_t{5}, "best-before items");
    p.Equal(ComboIndex(Child(window, ids::kShkFormat)), -1, "no barcode format");
    p.Equal(ListViewText(Child(window, ids::kOpers), 4, 0), std::u16string(u"4"), "operator rows");
}

// "Имя оператора" for operator ROW, waited for.
HWND OpenOperatorEditor(HWND window, int row) {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Child(window, ids::kOpers), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    PostClick(Child(window, ids::kOperEdit));
    return WaitForWindow(u"Имя оператора");
}

void EditOperator(TProbe& p, HWND window) {
    HWND list = Child(window, ids::kOpers);
    HWND editor = OpenOperatorEditor(window, 1);
    p.Check(editor != nullptr, "operator window appears");
    if (!editor) return;
    p.Equal(ClientSize(editor), std::make_pair(253, 104), "operator window size");
    p.Equal(TextOf(Child(editor, ids::kOperNum)), std::u16string(u"1"), "operator number");
    GUITHREADINFO focus{};
    focus.cbSize = sizeof(focus);
    GetGUIThreadInfo(GetWindowThreadProcessId(editor, nullptr), &focus);
    p.Equal(TextOf(focus.hwndFocus), std::u16string(u"Отмена"), "focus starts on Отмена");
    p.Equal(static_cast<int>(SendMessageW(Child(editor, ids::kOperName), EM_GETLIMITTEXT, 0, 0)), 20, "name limit");
    TypeText(Child(editor, ids::kOperName), u"Иванов");
    p.Check(Screenshot("operator-name"), "screenshot operator");
    PostClick(Child(editor, ids::kOk));
    p.Check(WaitFor([&] { return !IsWindow(editor); }), "operator window closes");
    p.Equal(ListViewText(list, 1, 1), std::u16string(u"Иванов"), "name in the list");
}

// OK with a font outside 1..20 typed past the field's limit: the box, then the dialog still open.
void RefusedFont(TProbe& p, HWND window) {
    TypeText(Child(window, ids::kDopText), u"21");
    PostClick(Child(window, ids::kOk));
    HWND box = WaitForWindow(u"Ошибка");
    p.Check(box != nullptr, "error box appears");
    if (!box) return;
    p.Equal(GetWindow(box, GW_OWNER), window, "the box is owned by the dialog");
    p.Check(ChildByText(box, u"Шрифт дополнительного текста: нужно число от 1 до 20, указано «21»") != nullptr,
            "the box names the field");
    p.Check(Screenshot("settings-error"), "screenshot error");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    p.Check(WaitFor([&] { return !IsWindow(box); }), "box closes");
    p.Check(IsWindowVisible(window), "dialog stays open");
    TypeText(Child(window, ids::kDopText), u"2");
}

bool Closed(HWND window) { return !IsWindow(window) || !IsWindowVisible(window); }

// KEY in the control ID of page PAGE, as a user presses it; true when the dialog closed.
bool PressIn(HWND window, int page, int id, WORD key) {
    SendMessageW(Child(window, ids::kPages), TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
    PressKey(Child(window, id), key);
    return WaitFor([&] { return Closed(window); }, 600);
}

}  // namespace

TEST_F(DriverTest, AdvSettingsNeedAnOpenDriver) {
    EXPECT_FALSE(CallBool(u"DoAdditionalAction", {Text(u"ShowAdvSettings")}));
    EXPECT_EQ(LastError().second, u"Устройство не включено");
}

TEST_F(DriverTest, AdvSettingsWindowWritesTheScale) {
    ASSERT_TRUE(OpenOnSimulator(0));
    THostWindow host;
    TProbe probe([&](TProbe& p) {
        HWND window = WaitForWindow(kCaption);
        p.Check(window != nullptr, "the window appears");
        if (!window) return;
        p.Check(!IsWindowEnabled(host.Handle()), "the host's window is disabled meanwhile");
        p.Equal(ClientSize(window), std::make_pair(408, 473), "client size");
        HWND firmware = Child(window, ids::kFirmWare);
        p.Equal(ComboItems(firmware),
                std::vector<std::u16string>{u"1 строка наименования товара", u"2 строки наименования товара"},
                "firmware items");
        p.Equal(ComboIndex(firmware), 1, "firmware default");
        p.Equal(FontFace(firmware), std::u16string(u"Tahoma"), "font");
        CheckPages(p, window);

        ChooseComboItem(firmware, 0);
        p.Check(!IsWindowEnabled(Child(window, ids::kPLU2)) && !IsWindowEnabled(Child(window, ids::kPLU2Label)),
                "second line font off for one-line firmware");
        ChooseComboItem(Child(window, ids::kBestBeforeDate), 3);  // дд
        ChooseComboItem(Child(window, ids::kPackageDate), 2);     // мм.дд
        Click(Child(window, ids::kCurrentDateTime));
        p.Check(!IsWindowEnabled(Child(window, ids::kDate)) && !IsWindowEnabled(Child(window, ids::kTime)),
                "computer clock disables date and time");
        Click(Child(window, ids::kBarcode));
        Click(Child(window, ids::kPower2));
        TypeText(Child(window, ids::kMagazName), u"Магазин Ромашка");
        ChooseComboItem(Child(window, ids::kShkFormat), 2);
        TypeText(Child(window, ids::kShkPref), u"22");
        TypeText(Child(window, ids::kLabelTemplatePath), LogFolder().Path() + u"none");
        p.Equal(ComboItems(Child(window, ids::kLabelFormat)), std::vector<std::u16string>{u"Оставить текущую"},
                "label list of a folder without templates");
        EditOperator(p, window);
        RefusedFont(p, window);
        p.Check(Screenshot("settings-filled"), "screenshot filled");
        PostClick(Child(window, ids::kOk));
        HWND box = nullptr;
        WaitFor([&] {
            box = FindWindowW(nullptr, L"Ошибка");
            return box || !IsWindow(window) || !IsWindowVisible(window);
        });
        p.Check(box == nullptr, "OK answered: " + cf::ToUtf8(box ? TextOf(Child(box, 0xFFFF)) : u""));
        if (box) Screenshot("settings-unexpected-error");
        p.Check(!IsWindow(window) || !IsWindowVisible(window), "OK closes the dialog");
    });
    EXPECT_TRUE(CallBool(u"DoAdditionalAction", {Text(u"ShowAdvSettings")}));
    const std::vector<std::string> failures = probe.Finish();
    EXPECT_TRUE(failures.empty()) << Joined(failures);
    EXPECT_TRUE(IsWindowEnabled(host.Handle()));
    EXPECT_EQ(GetActiveWindow(), host.Handle());

    const tiger_sim::TScaleState state = sim->State();
    ASSERT_TRUE(state.OperatorOptions.has_value());
    EXPECT_EQ((*state.OperatorOptions)[1], 0x01);  // "Штрихкод"
    EXPECT_EQ((*state.OperatorOptions)[4], 0x08);  // "Режим упаковки"
    EXPECT_TRUE(state.Company.has_value());
    EXPECT_EQ(tiger_sim::TextOf866(state.Operators.at(0)), "Иванов");  // empty names are not counted
    ASSERT_TRUE(state.LabelOptions.count(2));
    EXPECT_EQ(state.LabelOptions.at(2).PrintFormat, 0x2C);
    EXPECT_EQ(state.LabelOptions.at(2).FontDopText, 2);
    EXPECT_EQ(state.BarcodeFormat, std::optional<std::string>(std::string("\x02" "022AAAAAQQQQQC") + std::string(5, ' ')));
}

// "Отмена", and Escape in a field.
TEST_F(DriverTest, AdvSettingsCancelSendsNothing) {
    ASSERT_TRUE(OpenOnSimulator(1));
    const std::function<void(TProbe&, HWND)> cancels[] = {
        [](TProbe&, HWND window) { PostClick(Child(window, ids::kCancel)); },
        [](TProbe& p, HWND window) {
            p.Check(PressIn(window, 3, ids::kShkPref, VK_ESCAPE), "Escape closes the dialog");
        }};
    for (const auto& cancel : cancels) {
        TProbe probe([&](TProbe& p) {
            HWND window = WaitForWindow(kCaption);
            p.Check(window != nullptr, "the window appears");
            if (!window) return;
            Click(Child(window, ids::kBarcode));
            cancel(p, window);
        });
        EXPECT_TRUE(CallBool(u"DoAdditionalAction", {Text(u"ShowAdvSettings")}));
        const std::vector<std::string> failures = probe.Finish();
        EXPECT_TRUE(failures.empty()) << Joined(failures);
        EXPECT_FALSE(sim->State().OperatorOptions.has_value());
    }
}

// Enter in a field writes nothing (in the store name it starts a new line);
// only the OK button does, here by Space while it has the focus.
TEST_F(DriverTest, AdvSettingsSendOnlyFromTheOkButton) {
    ASSERT_TRUE(OpenOnSimulator(1));
    TProbe probe([&](TProbe& p) {
        HWND window = WaitForWindow(kCaption);
        p.Check(window != nullptr, "the window appears");
        if (!window) return;
        struct TField {
            int Page, Id;
            const char* Name;
        };
        const TField fields[] = {{0, ids::kRunningMessage, "cbRunningMessage"},
                                 {0, ids::kPrinterMedia, "cbPrinterMedia"},
                                 {1, ids::kMagazName, "edMagazName"},
                                 {1, ids::kDate, "edDate"},
                                 {3, ids::kPackageDate, "cbPackageDate"},
                                 {3, ids::kPackageDateText, "edPackageDateText"},
                                 {3, ids::kPLU1, "edPLU1"},
                                 {3, ids::kLabelTemplatePath, "LabelTemplatePath"},
                                 {3, ids::kShkPref, "edShkPref"}};
        for (const TField& field : fields) {
            const bool closed = PressIn(window, field.Page, field.Id, VK_RETURN);
            p.Check(!closed && !sim->State().OperatorOptions.has_value(),
                    std::string("Enter in ") + field.Name + " sends nothing");
            if (closed) return;
        }
        p.Equal(TextOf(Child(window, ids::kMagazName)), std::u16string(u"\r\n"), "Enter in the store name");
        p.Check(Screenshot("settings-after-enter"), "screenshot after Enter");
        // The operator window keeps OK as its default.
        SendMessageW(Child(window, ids::kPages), TCM_SETCURFOCUS, 2, 0);
        HWND editor = OpenOperatorEditor(window, 0);
        p.Check(editor != nullptr, "operator window appears");
        if (!editor) return;
        TypeText(Child(editor, ids::kOperName), u"Иванов");
        PressKey(Child(editor, ids::kOperName), VK_RETURN);
        p.Check(WaitFor([&] { return !IsWindow(editor); }), "Enter in the operator's name confirms it");
        p.Check(PressIn(window, 0, ids::kOk, VK_SPACE), "Space on OK closes the dialog");
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
