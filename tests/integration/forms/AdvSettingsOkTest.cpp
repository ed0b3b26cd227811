// OK of the advanced settings dialog against the simulated scale: the
// frames in order, byte for byte, as the protocol's layout describes them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "device/uSystemCodePages.h"
#include "forms/ufmAdvSettings.h"
#include "lib/cf/DateTime.h"
#include "lib/cf/TextUtils.h"
#include "tests/support/ErrorMessage.h"
#include "tests/support/EveryFieldChanged.h"
#include "tests/support/ReferenceFrames.h"
#include "tests/unit/forms/FormFakes.h"

using test_support::MessageOf;
using test_support::ReferenceFrame;

namespace {

std::string Le16(int value) { return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)}; }

// Code page 866 of the letters these tests use, written here apart from the library's table.
std::string Cp866(const std::u16string& text, std::size_t width) {
    std::string out;
    for (char16_t c : text) {
        if (c >= u'А' && c <= u'п') out += static_cast<char>(0x80 + (c - u'А'));
        else if (c >= u'р' && c <= u'я') out += static_cast<char>(0xE0 + (c - u'р'));
        else out += static_cast<char>(c);
    }
    out.resize(width, ' ');
    return out;
}

std::string OperatorOptions(int media, int ticket0, int running, int key, int ticket1) {
    return std::string("\x00\x00", 2) + static_cast<char>(media) + std::string("\x00\x01\x00\x01", 4) +
           static_cast<char>(ticket0) + static_cast<char>(running) + static_cast<char>(key) + static_cast<char>(ticket1);
}

class AdvSettingsOk : public ::testing::Test {
protected:
    void Start(int firmwareType, tiger_sim::TSimOptions options = {}) {
        options.KeepJournal = true;
        sim = std::make_unique<tiger_sim::TSimulator>(std::move(options));
        dialog.IPAddress = u"127.0.0.1";
        dialog.IPPort = sim->Start();
        dialog.FirmwareType = firmwareType;
        mark = firmwareType == 0 ? 0x02 : 0x01;
    }
    void TearDown() override {
        if (sim) sim->Stop();
    }
    std::vector<std::string> Received() const { return test_support::ReceivedFrames(*sim); }

    std::string Frame(uint8_t table, uint16_t parameter, const std::string& data) const {
        return ReferenceFrame(table, 0, parameter, mark, data);
    }
    std::string DateTimeFrame(int d, int m, int y, int h, int n, int s) const {
        return Frame(0xEE, 0, {char(d), char(m), char(y), char(h), char(n), char(s)});
    }
    void AddOperatorFrames(std::vector<std::string>& frames, const std::vector<std::u16string>& names) const {
        for (int i = 0; i < 5; ++i)
            frames.push_back(Frame(0xCC, 0, Le16(i) + Cp866(i < static_cast<int>(names.size()) ? names[i] : u"", 20)));
    }
    // The date texts go out in the system's OEM code page (866 outside Windows).
    void AddDateTextFrames(std::vector<std::string>& frames, const std::vector<std::u16string>& texts) const {
        for (int i = 1; i <= 3; ++i) {
            std::string text = device::TextToOem(texts[i - 1]);
            text.resize(30, ' ');
            frames.push_back(Frame(0xDB, 0, Le16(i) + text));
        }
    }
    std::string BarcodeFrame(const std::string& content) const {
        std::string data = "\x02" "0" + content;
        data.resize(20, ' ');
        return Frame(0xD6, 1, data);
    }

    forms_tests::FakeClock clock{cf::EncodeDateTime({2026, 12, 9, 13, 45, 30, 0})};
    forms::TfmAdvSettings dialog{clock, nullptr};
    forms::TAdvSettingsState& state = dialog.State();
    std::unique_ptr<tiger_sim::TSimulator> sim;
    uint8_t mark = 0;
};

TEST_F(AdvSettingsOk, UnchangedDialogOnTwoLineFirmware) {
    Start(1);
    dialog.btnOKClick();
    std::vector<std::string> expected{Frame(0xCA, 1, OperatorOptions(1, 0, 0, 0, 0)), DateTimeFrame(9, 12, 26, 0, 0, 0)};
    AddOperatorFrames(expected, {});
    expected.push_back(BarcodeFrame("C"));
    const std::string options = std::string("\x02\x00\x01\x00\x00\x00", 6) + "\x01\x01\x01" + std::string(1, '\0') +
                                "\x03\x01\x02\x03" + "\x49" + std::string(3, '\0');
    expected.push_back(Frame(0xF3, 1, options));
    expected.push_back(Frame(0xF3, 1, "\x05" + options.substr(1)));
    AddDateTextFrames(expected, {u"Упаковано", u"Годен", u"Дата продажи"});
    EXPECT_EQ(Received(), expected);
}

TEST_F(AdvSettingsOk, EveryFieldChangedOnOneLineFirmware) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "wq_ok_labels";
    const std::string label = ReferenceFrame(0xF4, 0, 0, 0x02, "\x20\x41");
    test_support::WriteLabelTemplates(folder, label);
    Start(0);
    test_support::ChangeEveryField(dialog, folder);
    dialog.btnOKClick();
    std::filesystem::remove_all(folder);

    std::vector<std::string> expected{Frame(0xCA, 1, OperatorOptions(0, 0x29, 0x80, 0x10, 0x48)),
                                      Frame(0xD4, 0, Le16(1) + Cp866(u"Магазин Ромашка", 70)), label,
                                      DateTimeFrame(5, 3, 24, 14, 7, 9)};
    AddOperatorFrames(expected, {u"Иванов", u"Петрова", u"Сидоров"});  // empty names are not counted
    expected.push_back(BarcodeFrame("22AAAAAQQQQQC"));
    const std::string options = std::string("\x02\x00\x01\x00\x00\x00", 6) + "\x02\x0D\x01" + std::string(1, '\0') +
                                "\x01\x02\x03" + std::string(1, '\0') + Le16(0x04 | 0x28 | 0x40) + std::string(2, '\0');
    expected.push_back(Frame(0xF3, 1, options));
    AddDateTextFrames(expected, {u"Упак.", u"Годен до", u"Продать до"});
    EXPECT_EQ(Received(), expected);
}

TEST_F(AdvSettingsOk, ARefusedStepStopsThereWithItsMessage) {
    state.MagazName = u"Магазин";
    // The frames of one OK on two-line firmware, the step each belongs to.
    const std::vector<std::u16string> steps{
        u"Ошибка изменения конфигурации обслуживания", u"Ошибка изменения наименования организации",
        u"Ошибка изменения даты и времени",            u"Ошибка прогрузки данных операторов",
        u"Ошибка прогрузки данных операторов",         u"Ошибка прогрузки данных операторов",
        u"Ошибка прогрузки данных операторов",         u"Ошибка прогрузки данных операторов",
        u"Ошибка прогрузки шаблона штрихкода",         u"Ошибка прогрузки опций этикетки",
        u"Ошибка прогрузки опций для препака",         u"Ошибка прогрузки текста даты",
        u"Ошибка прогрузки текста даты",               u"Ошибка прогрузки текста даты"};
    for (std::size_t k = 1; k <= steps.size(); ++k) {
        tiger_sim::TSimOptions options;
        options.RefuseAt = {k};
        Start(1, options);
        EXPECT_EQ(MessageOf([&] { dialog.btnOKClick(); }), steps[k - 1]) << k;
        EXPECT_EQ(Received().size(), k);
        EXPECT_EQ(sim->Summary().Acknowledged, k - 1);
        sim->Stop();
    }
    // The dialog keeps its values: OK again sends everything.
    Start(1);
    dialog.btnOKClick();
    EXPECT_EQ(Received().size(), steps.size());
    EXPECT_EQ(sim->State().Company, std::optional<std::string>(Cp866(u"Магазин", 70)));
}

TEST_F(AdvSettingsOk, OutOfRangeValuesSendNothing) {
    Start(1);
    state.PLU2 = u"21";
    EXPECT_EQ(MessageOf([&] { dialog.btnOKClick(); }), u"Шрифт 2-й строки наименования: нужно число от 1 до 20, указано «21»");
    state.PLU2 = u"1";
    state.Operators[1] = std::u16string(25, u'ж');
    EXPECT_NE(MessageOf([&] { dialog.btnOKClick(); }), u"(no error)");
    EXPECT_EQ(sim->Summary().Connections, 0u);
}

TEST_F(AdvSettingsOk, AnUnreachableScaleSendsNothing) {
    Start(1);
    sim->Stop();  // the port is closed now
    const std::u16string message = MessageOf([&] { dialog.btnOKClick(); });
    EXPECT_NE(message, u"(no error)");
    EXPECT_TRUE(Received().empty());
}

TEST_F(AdvSettingsOk, ComputerClockIsTakenAtOk) {
    Start(0);
    dialog.cbxCurrentDateTimeClick(true);
    clock.Value = cf::EncodeDateTime({2027, 1, 2, 3, 4, 5, 0});
    dialog.btnOKClick();
    EXPECT_EQ(Received().at(1), DateTimeFrame(2, 1, 27, 3, 4, 5));
}

}  // namespace
