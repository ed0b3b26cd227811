#include <gtest/gtest.h>

#include <filesystem>
#include <cmath>
#include <fstream>

#include "forms/uAdvSettingsRecords.h"
#include "forms/ufmAdvSettings.h"
#include "common/uPaths.h"
#include "lib/cf/DateTime.h"
#include "lib/cf/TextUtils.h"
#include "tests/support/ErrorMessage.h"
#include "tests/unit/forms/FormFakes.h"

using namespace forms;
using test_support::MessageOf;

namespace {

class AdvSettings : public ::testing::Test {
protected:
    forms_tests::FakeClock clock{cf::EncodeDateTime({2026, 12, 9, 13, 45, 30, 0})};
    TfmAdvSettings dialog{clock, nullptr};
    TAdvSettingsState& state = dialog.State();
};

// Answers the operator window as the test says.
class ScriptedEditor : public IOperatorEditor {
public:
    bool pressOk = true;
    std::u16string typed;
    int calls = 0;
    std::u16string shownNumber, shownName;
    bool Edit(TfmOpersEditTiger& window) override {
        ++calls;
        shownNumber = window.edNum();
        shownName = window.edName();
        if (pressOk) window.btnOkClick(typed);
        return pressOk;
    }
};

TEST_F(AdvSettings, OpensWithTheFixedDefaults) {
    EXPECT_EQ(state.FirmWare.ItemIndex, 1);
    EXPECT_EQ(state.PageIndex, 0);
    EXPECT_EQ(state.PrinterMedia.Items, PrinterMediaItems());
    EXPECT_EQ(state.PrinterMedia.ItemIndex, 1);
    EXPECT_FALSE(state.Power2 || state.Price2 || state.RunningMessage || state.StoreAddress);
    EXPECT_EQ(state.Date, std::floor(clock.Value));
    EXPECT_EQ(state.Time, 0);
    EXPECT_FALSE(state.CurrentDateTime);
    EXPECT_TRUE(state.DateTimeEnabled);
    for (const std::u16string& name : state.Operators) EXPECT_EQ(name, u"");
    EXPECT_EQ(state.PackageDate.Items.size(), 4u);
    EXPECT_EQ(state.BestBeforeDate.Items, DateItems());
    EXPECT_EQ(state.SellByDate.ItemIndex, 0);
    EXPECT_EQ(state.PackageDateText, u"Упаковано");
    EXPECT_EQ(state.BestBeforeDateText, u"Годен");
    EXPECT_EQ(state.SellByDateText, u"Дата продажи");
    EXPECT_EQ(state.PLU1 + state.PLU2 + state.DopText, u"111");
    EXPECT_TRUE(state.PLU2Enabled);
    EXPECT_TRUE(state.LabelFormat.Items.empty());
    EXPECT_EQ(state.ShkFormat.Items, BarcodeFormatItems());
    EXPECT_EQ(state.ShkFormat.ItemIndex, -1);
}

TEST_F(AdvSettings, OperatorOptionsFromTheControls) {
    device::TOperatorOptions o = OperatorOptionsOf(state);
    EXPECT_EQ(o.Printer_Media, 1);
    EXPECT_EQ(o.TicketSetting0 | o.Running_Message | o.Use_Key | o.TicketSetting1, 0);

    state.Barcode = state.BarcodeOnStub = state.TotalWeight = state.PLUNumber = state.Stub = state.Header =
        state.Footer = true;
    state.RunningMessage = state.Price2 = state.TicketNo = state.Power2 = state.Tare = true;
    state.PrinterMedia.ItemIndex = 2;
    o = OperatorOptionsOf(state);
    EXPECT_EQ(o.Printer_Media, 2);
    EXPECT_EQ(o.TicketSetting0, 0x7F);
    EXPECT_EQ(o.Running_Message, 0x80);
    EXPECT_EQ(o.Use_Key, 0x10);
    EXPECT_EQ(o.TicketSetting1, 0x4A);

    state.Header = state.Tare = false;
    state.PrinterMedia.ItemIndex = -1;
    o = OperatorOptionsOf(state);
    EXPECT_EQ(o.Printer_Media, 0);
    EXPECT_EQ(o.TicketSetting0, 0x5F);
    EXPECT_EQ(o.TicketSetting1, 0x0A);
}

TEST_F(AdvSettings, PrintFormatOfOneLineFirmwareByItem) {
    EXPECT_EQ(PrintFormatOf(state, 0), 0);
    state.PackageDate.ItemIndex = 2;    // мм.дд
    state.BestBeforeDate.ItemIndex = 3; // дд
    EXPECT_EQ(PrintFormatOf(state, 0), 0x2C);
    const int package[] = {0, 0x01, 0x04, 0x05};
    const int bestBefore[] = {0, 0x08, 0x20, 0x28, 0x30};
    const int sellBy[] = {0, 0x40, 0x100, 0x140, 0x180};
    for (int i = 0; i < 5; ++i) {
        state.PackageDate.ItemIndex = i < 4 ? i : -1;
        state.BestBeforeDate.ItemIndex = i;
        state.SellByDate.ItemIndex = i;
        EXPECT_EQ(PrintFormatOf(state, 0), (i < 4 ? package[i] : 0) | bestBefore[i] | sellBy[i]) << i;
    }
    EXPECT_EQ(PrintFormatOf(state, 2), 0);
}

TEST_F(AdvSettings, PrintFormatOfTwoLineFirmwareByChoiceAlone) {
    EXPECT_EQ(PrintFormatOf(state, 1), 0x49);  // "не печатать" is a choice too
    state.SellByDate.ItemIndex = -1;
    state.SellByDate.Text = u"дд.мм";  // typed, matches no item
    EXPECT_EQ(PrintFormatOf(state, 1), 0x09);
    state.SellByDate.Text = u"ДД";  // typed, names an item
    EXPECT_EQ(PrintFormatOf(state, 1), 0x49);
    state.PackageDate = {state.PackageDate.Items, -1, u""};
    EXPECT_EQ(PrintFormatOf(state, 1), 0x48);
}

TEST_F(AdvSettings, FirmwareSwitchSwapsDateListsAndClampsTheChoice) {
    state.SellByDate.ItemIndex = 4;  // дд.мм.гггг
    state.BestBeforeDate.ItemIndex = 2;
    dialog.cbFirmWareChange(0);
    EXPECT_EQ(state.PackageDate.Items, PackageDateItems(0));
    EXPECT_EQ(state.SellByDate.Items, PackageDateItems(0));
    EXPECT_EQ(state.SellByDate.ItemIndex, 3);
    EXPECT_EQ(state.SellByDate.Text, u"дд.мм.гггг");
    EXPECT_EQ(state.BestBeforeDate.ItemIndex, 2);
    EXPECT_FALSE(state.PLU2Enabled);

    dialog.cbFirmWareChange(1);
    EXPECT_EQ(state.BestBeforeDate.Items, (std::vector<std::u16string>{u"не печатать", u"дд.мм.гггг"}));
    EXPECT_EQ(state.SellByDate.ItemIndex, 1);
    EXPECT_EQ(state.BestBeforeDate.ItemIndex, 1);
    EXPECT_EQ(state.PackageDate.ItemIndex, 0);
    EXPECT_TRUE(state.PLU2Enabled);
    EXPECT_EQ(state.FirmWare.ItemIndex, 1);
}

TEST_F(AdvSettings, ComputerClockOptionDisablesDateAndTime) {
    dialog.cbxCurrentDateTimeClick(true);
    EXPECT_FALSE(state.DateTimeEnabled);
    dialog.cbxCurrentDateTimeClick(false);
    EXPECT_TRUE(state.DateTimeEnabled);
}

TEST_F(AdvSettings, OperatorNamesEditedOneRowAtATime) {
    ScriptedEditor editor;
    dialog.btnOperEditClick(editor);
    EXPECT_EQ(editor.calls, 0);  // no row selected

    state.SelectedOperator = 2;
    editor.typed = u"Иванова Мария";
    dialog.btnOperEditClick(editor);
    EXPECT_EQ(editor.shownNumber, u"2");
    EXPECT_EQ(state.Operators[2], u"Иванова Мария");

    editor.pressOk = false;
    dialog.btnOperEditClick(editor);
    EXPECT_EQ(editor.shownName, u"Иванова Мария");
    EXPECT_EQ(state.Operators[2], u"Иванова Мария");

    editor.pressOk = true;
    editor.typed = std::u16string(21, u'я');
    EXPECT_EQ(MessageOf([&] { dialog.btnOperEditClick(editor); }), u"Имя оператора не может быть длиннее 20 символов");
    EXPECT_EQ(state.Operators[2], u"Иванова Мария");

    state.Operators[4] = u"Петров";
    EXPECT_EQ(OperatorsTextOf(state), u"||Иванова Мария||Петров");
    state.Operators[0] = std::u16string(21, u'x');  // put there past the window
    EXPECT_EQ(MessageOf([&] { OperatorsTextOf(state); }),
              u"Имя оператора 0 длиннее 20 символов: «" + state.Operators[0] + u"»");
}

TEST_F(AdvSettings, FontFieldsAreCheckedAgain) {
    EXPECT_EQ(FontValue(u"1", u"Шрифт"), 1);
    EXPECT_EQ(FontValue(u"20", u"Шрифт"), 20);
    for (const char16_t* bad : {u"", u"0", u"21", u"100", u"1a", u"-1", u" 5"})
        EXPECT_EQ(MessageOf([&] { FontValue(bad, u"Шрифт"); }),
                  u"Шрифт: нужно число от 1 до 20, указано «" + std::u16string(bad) + u"»");
    state.DopText = u"99";
    EXPECT_EQ(MessageOf([&] { LabelOptionsOf(state, 1); }),
              u"Шрифт дополнительного текста: нужно число от 1 до 20, указано «99»");
}

TEST_F(AdvSettings, LabelOptionsRecord) {
    state.PLU1 = u"3";
    state.PLU2 = u"12";
    state.DopText = u"20";
    state.StoreAddress = true;
    state.SellByDateText = u"Срок реализации до конца текущего месяца";  // 40 characters
    const device::TLabelOptions o = LabelOptionsOf(state, 1);
    EXPECT_EQ(o.FontPLU1, 3);
    EXPECT_EQ(o.FontPLU2, 12);
    EXPECT_EQ(o.FontDopText, 20);
    EXPECT_EQ(o.PrintStoreAddress, 1);
    EXPECT_EQ(o.PrintFormat, 0x49);
    EXPECT_EQ(o.PackadgeDateText.size(), 9u);
    EXPECT_EQ(o.SellByDateText.size(), 30u);
    EXPECT_EQ(DateTextsOf(state), u"Упаковано|Годен|" + state.SellByDateText);
}

class LabelTemplates : public AdvSettings {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / "wq_forms_labels";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "Labels.mtt", std::ios::binary)
            << "[A]\r\n0102\r\n[/A]\r\n[B]\r\n0A0B\r\n0C\r\n[/B]\r\n[C]\r\n0D\r\n";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::u16string Folder() const { return folder.u16string(); }

    std::filesystem::path folder;
};

TEST_F(LabelTemplates, ListKeepsTheCurrentLabelFirst) {
    const std::vector<std::u16string> expected{kKeepCurrentLabel, u"A", u"B", u"C"};
    dialog.LabelTemplatePathChange(Folder());
    EXPECT_EQ(state.LabelFormat.Items, expected);
    EXPECT_EQ(state.LabelFormat.ItemIndex, -1);
    state.LabelFormat.ItemIndex = 2;
    dialog.LabelTemplatePathChange(Folder() + u"/");
    EXPECT_EQ(state.LabelFormat.Items, expected);
    EXPECT_EQ(state.LabelFormat.ItemIndex, -1);
    dialog.LabelTemplatePathChange(Folder() + u"/missing");
    EXPECT_EQ(state.LabelFormat.Items, std::vector<std::u16string>{kKeepCurrentLabel});
    EXPECT_EQ(LabelTemplateFile(u"dir"), std::u16string(u"dir") + common::PathDelim() + u"Labels.mtt");
}

TEST_F(LabelTemplates, ALabelWithoutItsClosingMarkerIsRefusedBeforeConnecting) {
    dialog.IPAddress = u"127.0.0.1";
    dialog.IPPort = 1;  // never reached
    dialog.LabelTemplatePathChange(Folder());
    state.LabelFormat.ItemIndex = 3;  // C
    const std::u16string message = MessageOf([&] { dialog.btnOKClick(); });
    EXPECT_NE(message.find(u"Этикетка «C» не найдена в файле"), std::u16string::npos) << cf::ToUtf8(message);
}

}  // namespace
