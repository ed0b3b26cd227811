#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "common/Common.Log.h"
#include "device/uScaleFrames.h"
#include "driver/uUploadLoop.h"
#include "lib/cf/DateTime.h"
#include "lib/cf/uEquipmentErrors.h"
#include "tests/integration/transport/TransportSupport.h"
#include "tests/unit/common/LogTestSupport.h"

using namespace transport_test;
using device::TCurrency;

namespace {

// A label layout frame as the template file holds it: hex text of a finished frame.
std::u16string LabelHex() {
    return device::BytesToHex(device::FinishFrame(device::FrameHeader({0xF4, 0, 0, 2, 0x06, 0}) + "\x20\x41", 0));
}

class DeviceExchange : public SimulatorTest {
protected:
    void Open(tiger_sim::TSimOptions options = {}, int32_t firmwareType = 0) {
        StartSimulator(std::move(options));
        device = CapturingDevice(log);
        device->SetFirmwareType(firmwareType);
        Connect(*device);
    }
    std::vector<std::string> Commands() const {
        std::vector<std::string> commands;
        for (const auto& entry : sim->Journal()) {
            const std::size_t at = entry.Json.find("\"command\":\"");
            commands.push_back(at == std::string::npos ? "-" : entry.Json.substr(at + 11, entry.Json.find('"', at + 11) - at - 11));
        }
        return commands;
    }
    void WriteSamplePlu(int32_t plu, const char16_t* name) {
        device->WritePlu(plu, 3, 0, 10, 5, 1, 0, u"4600000000001", name, TCurrency{123400}, true, 2);
    }

    std::vector<TLogLine> log;
    std::unique_ptr<device::TDevice> device;
};

}  // namespace

TEST_F(DeviceExchange, ExchangesAreLoggedOnlyWhenAskedFor) {
    Open();
    device->ReadConf();
    EXPECT_TRUE(log.empty());
    device->SetExtLogEnabled(true);
    device->ReadConf();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].Text, u"Данные обмена -> ");
    EXPECT_EQ(log[0].Detail, u"0209000100010000C900020000000200ABE9");
    EXPECT_EQ(log[1].Text, u"Данные обмена <- ");
    EXPECT_EQ(log[1].Detail, u"66");
    // The further bytes of a read are not logged but land in Response.
    EXPECT_EQ(device->Response().size(), 40u);
    EXPECT_EQ(device->Request(), device::ReadConfFrame(0));
}

TEST_F(DeviceExchange, ReadsReturnTheirRecords) {
    Open({}, 1);
    WriteSamplePlu(1, u"Молоко||2,5%");
    device->ReadPLU();
    ASSERT_EQ(device->Response().size(), 117u);
    EXPECT_EQ(device->Response().substr(0, 4), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(device->Response().substr(4, 13), "4600000000001");
    device->WriteAdditionalText(9, u"Хранить при +4");
    device->ReadAdditionalText(9);
    ASSERT_EQ(device->Response().size(), 220u);
    EXPECT_EQ(device->Response().substr(17, 14), device::StrToCP866(u"Хранить при +4"));
}

TEST_F(DeviceExchange, ARefusalRaisesTheCommandsMessage) {
    tiger_sim::TSimOptions options;
    options.RefuseAt = {1, 2, 3, 4, 5, 6};
    Open(options);
    EXPECT_EQ(MessageOf([&] { WriteSamplePlu(1, u"x"); }), u"Ошибка выгрузки PLU");
    EXPECT_EQ(static_cast<uint8_t>(device->Response()[0]), 0x15);
    EXPECT_EQ(MessageOf([&] { device->DeletePLU(1); }), u"Ошибка удаления PLU");
    EXPECT_EQ(MessageOf([&] { device->WriteTare(1, 5); }), u"Ошибка выгрузки веса тары");
    EXPECT_EQ(MessageOf([&] { device->ReadConf(); }), u"Ошибка чтения конфигурации");
    EXPECT_EQ(MessageOf([&] { device->WriteOpers(u"a|b"); }), u"Ошибка прогрузки данных операторов");
    EXPECT_EQ(MessageOf([&] { device->WriteLabel(LabelHex()); }), u"Ошибка прогрузки данных этикетки");
    EXPECT_EQ(sim->Summary().Refused, 6u);  // the first refused operator frame ends WriteOpers
    EXPECT_TRUE(sim->State().Plu.empty());
}

// Pipelined writes: the same frames and log lines in the same order as one
// exchange after another, and every answer judged before an error leaves.
TEST_F(DeviceExchange, PipelinedWritesKeepTheOrderOfOneExchangeAfterAnother) {
    Open();
    device->SetExtLogEnabled(true);
    driver::UploadRequests(*device, [&](const driver::TRequestSink& send) {
        for (uint32_t number = 1; number <= 3; ++number)
            send(device->TareRequest(static_cast<int32_t>(number), static_cast<int32_t>(10 * number)));
    });
    ASSERT_EQ(log.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(log[2 * i].Text, u"Данные обмена -> ");
        EXPECT_EQ(log[2 * i].Detail, device::BytesToHex(device::WriteTareFrame(0, static_cast<int32_t>(i + 1),
                                                                               static_cast<int32_t>(10 * (i + 1)))));
        EXPECT_EQ(log[2 * i + 1].Text, u"Данные обмена <- ");
        EXPECT_EQ(log[2 * i + 1].Detail, u"06");
    }
    EXPECT_EQ(Commands(), (std::vector<std::string>{"WriteTare", "WriteTare", "WriteTare"}));
    EXPECT_EQ(sim->State().Tare.at(3), 30u);
}

TEST_F(DeviceExchange, APipelinedRefusalStopsTheWritesAndOutranksTheCallersError) {
    tiger_sim::TSimOptions options;
    options.RefuseAt = {2, 4};
    Open(options);
    const auto writeThree = [&](const driver::TRequestSink& send) {
        for (int32_t number = 1; number <= 3; ++number) send(device->TareRequest(number, 7));
    };
    EXPECT_EQ(MessageOf([&] { driver::UploadRequests(*device, writeThree); }), u"Ошибка выгрузки веса тары");
    EXPECT_EQ(sim->Summary().Frames, 2u);  // nothing after the refused frame
    device->SetExtLogEnabled(true);
    // The refusal of frame 4 arrives while the caller fails on its third record.
    EXPECT_EQ(MessageOf([&] {
                  driver::UploadRequests(*device, [&](const driver::TRequestSink& send) {
                      send(device->TareRequest(1, 5));
                      send(device->TareRequest(2, 5));
                      throw cf::Exception(u"третья запись");
                  });
              }),
              u"Ошибка выгрузки веса тары");
    EXPECT_EQ(sim->Summary().Frames, 4u);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[3].Text, u"Данные обмена <- ");
    EXPECT_EQ(log[3].Detail, u"15");
}

// Each answer is judged by its own frame's check, though the next frame, of
// another command, is made while it is awaited; nothing goes out after a refusal.
TEST_F(DeviceExchange, AnUploadsRefusalCarriesTheRefusedFramesMessage) {
    tiger_sim::TSimOptions options;
    options.RefuseAt = {2};
    Open(options);
    device->SetExtLogEnabled(true);
    EXPECT_EQ(MessageOf([&] {
                  driver::UploadRequests(*device, [&](const driver::TRequestSink& send) {
                      send(device->AdditionalTextRequest(1, u"a"));
                      send(device->TareRequest(2, 5));
                      send(device->AdditionalTextRequest(3, u"c"));
                  });
              }),
              u"Ошибка выгрузки веса тары");
    EXPECT_EQ(Commands(), (std::vector<std::string>{"WriteAdditionalText", "WriteTare"}));
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[2].Detail, device::BytesToHex(device::WriteTareFrame(0, 2, 5)));
    EXPECT_EQ(log[3].Detail, u"15");
}

TEST_F(DeviceExchange, ACallersErrorWaitsForTheAnswerInFlight) {
    Open();
    device->SetExtLogEnabled(true);
    EXPECT_EQ(MessageOf([&] {
                  driver::UploadRequests(*device, [&](const driver::TRequestSink& send) {
                      send(device->TareRequest(1, 5));
                      throw cf::Exception(u"вторая запись");
                  });
              }),
              u"вторая запись");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].Detail, u"06");
    // The answer was consumed: the next exchange reads its own.
    device->ReadConf();
    EXPECT_EQ(device->Response().size(), 40u);
    EXPECT_EQ(sim->Summary().Frames, 2u);
}

TEST_F(DeviceExchange, AClosedConnectionReadsAsARefusal) {
    tiger_sim::TSimOptions options;
    options.CloseAt = {1};
    Open(options);
    EXPECT_EQ(MessageOf([&] { device->WriteCompany(u"ООО Ромашка"); }), u"Ошибка изменения наименования организации");
    EXPECT_EQ(device->Response(), std::string(1, '\0'));
    // The driver reconnects by disabling and enabling; the simulator takes the new connection.
    device->Disable();
    Connect(*device);
    device->WriteCompany(u"ООО Ромашка");
    EXPECT_EQ(sim->Summary().Connections, 2u);
    EXPECT_EQ(sim->State().Company.value_or(""), device::StrToCP866(u"ООО Ромашка") + std::string(59, ' '));
}

TEST_F(DeviceExchange, OutOfRangeValuesAreRefusedBeforeSending) {
    Open();
    WriteSamplePlu(1, u"first");
    EXPECT_EQ(MessageOf([&] { device->WriteTare(1, -1); }), u"Значение поля «Вес тары» вне допустимого диапазона 0..4294967295: -1");
    EXPECT_EQ(MessageOf([&] { device->WriteLabel(u"02 0G"); }),
              u"Данные этикетки должны быть шестнадцатеричным текстом (две цифры 0-9, A-F на байт)");
    device->SetFirmwareType(3);
    EXPECT_EQ(MessageOf([&] { device->WriteLabelOptions({}, u""); }),
              u"Неподдерживаемый тип прошивки весов: 3 (допустимы 0 — однострочная и 1 — двухстрочная)");
    EXPECT_EQ(sim->Summary().Frames, 1u);
}

TEST_F(DeviceExchange, LabelOptionsOnTwoLineFirmwareSendTwoFramesApart) {
    Open({}, 1);
    device::TLabelOptions options;
    options.FontPLU1 = 2;
    device->WriteLabelOptions(options, u"a|b|c");
    const auto journal = sim->Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_GE(journal[1].ReceivedAt - journal[0].ReceivedAt, std::chrono::milliseconds(90));
    EXPECT_EQ(sim->State().LabelOptions.count(2), 1u);
    EXPECT_EQ(sim->State().LabelOptions.count(5), 1u);

    device->SetFirmwareType(0);
    device->WriteLabelOptions(options, u"");
    EXPECT_EQ(sim->Journal().size(), 3u);
}

TEST_F(DeviceExchange, ARefusedFirstLabelOptionsFrameSendsNoSecond) {
    tiger_sim::TSimOptions options;
    options.RefuseAt = {1};
    Open(options, 1);
    EXPECT_EQ(MessageOf([&] { device->WriteLabelOptions({}, u""); }), u"Ошибка прогрузки опций этикетки");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(sim->Summary().Frames, 1u);
}

TEST_F(DeviceExchange, ARefusedPrepackFrameHasItsOwnMessage) {
    tiger_sim::TSimOptions options;
    options.RefuseAt = {2};
    Open(options, 1);
    EXPECT_EQ(MessageOf([&] { device->WriteLabelOptions({}, u""); }), u"Ошибка прогрузки опций для препака");
}

TEST_F(DeviceExchange, ASequenceOfCommandsBuildsTheScalesState) {
    Open({}, 1);
    device->ClearPLU();
    WriteSamplePlu(10, u"Сыр||Российский");
    WriteSamplePlu(11, u"Хлеб");
    device->DeletePLU(11);
    device->WriteTare(1, 150);
    device->WriteCompany(u"ООО ##15##Ромашка");
    device->WriteAdditionalText(2, u"Line1||Line2");
    device->WriteOperatorOptions({1, 0x21, 0x80, 0, 2});
    device->WriteDateTime(cf::EncodeDateTime({2024, 3, 5, 14, 7, 9, 0}));
    device->WriteOpers(u"Иванов|Петров");
    device->WriteDateText(u"Упак.|Годен до|Реализ.");
    device->WriteLabel(LabelHex());
    device->WriteBarcodeFormat(u"XX AAAAA QQQQQ", u"22");
    EXPECT_EQ(Commands(), (std::vector<std::string>{"ClearPLU", "WritePlu", "WritePlu", "DeletePLU", "WriteTare",
                                                    "WriteCompany", "WriteAdditionalText", "WriteOperatorOptions",
                                                    "WriteDateTime", "WriteOpers", "WriteOpers", "WriteOpers",
                                                    "WriteOpers", "WriteOpers", "WriteDateText", "WriteDateText",
                                                    "WriteDateText", "WriteLabel", "WriteBarcodeFormat"}));
    const tiger_sim::TScaleState state = sim->State();
    ASSERT_EQ(state.Plu.size(), 1u);
    const tiger_sim::TPluEntry& plu = state.Plu.at(10);
    EXPECT_EQ(tiger_sim::TextOf866(plu.Line1), "Сыр");
    EXPECT_EQ(tiger_sim::TextOf866(plu.Line2), "Российский");
    EXPECT_EQ(plu.PriceHundredths, 1234u);
    EXPECT_EQ(plu.GroupNumber, 3);
    EXPECT_EQ(plu.TextID, 2);
    EXPECT_EQ(state.Tare.at(1), 150u);
    EXPECT_EQ(tiger_sim::TextOf866(state.Operators.at(1)), "Петров");
    EXPECT_EQ(tiger_sim::TextOf866(state.Operators.at(4)), "");
    EXPECT_EQ(state.Labels.size(), 1u);
    EXPECT_EQ((*state.DateTime), (std::array<uint8_t, 6>{5, 3, 24, 14, 7, 9}));
    EXPECT_EQ(state.FirmwareMark, 0x01);
}

TEST_F(DeviceExchange, TransportFailuresKeepTheUnansweredRequest) {
    Open();
    device->Disable();
    EXPECT_EQ(MessageOf([&] { device->ReadConf(); }), u"Ошибка при отправке данных серверу");
    EXPECT_EQ(device->Request(), device::ReadConfFrame(0));
    EXPECT_EQ(MessageOf([&] { device->Enable(u"127.0.0.1", ClosedPort()); }), u"Ошибка при установлении подключения");
}

// Slow: waits for the 5-second receive bound.
TEST_F(DeviceExchange, SlowAPeerThatNeverAnswersFailsAfterTheBound) {
    tiger_sim::TSimOptions options;
    options.SilentAt = {1};
    Open(options);
    try {
        device->WriteTare(1, 1);
        ADD_FAILURE() << "no error";
    } catch (const cf::EquException& e) {
        EXPECT_EQ(e.Code, 1001);
        EXPECT_EQ(e.Message(), u"Ошибка при получении ответа от сервера");
    }
    // The connection stays usable: the next frame is answered.
    device->WriteTare(1, 2);
    EXPECT_EQ(sim->State().Tare.at(1), 2u);
}

// The library's log, everything on, in a fresh folder of its own for one test.
class LibraryLogFolder {
public:
    explicit LibraryLogFolder(const char* name) : folder_(std::filesystem::temp_directory_path() / name) {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        common::SetLogFolder(folder_.u16string());
        common::SetLogFileStem(u"exchange");
        common::SetLogMode(common::TLogMode::lmAll);
    }
    ~LibraryLogFolder() {
        common::SetLogMode(common::TLogMode::lmOff);
        common::SetLogFolder(u"");
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    LibraryLogFolder(const LibraryLogFolder&) = delete;
    LibraryLogFolder& operator=(const LibraryLogFolder&) = delete;

private:
    std::filesystem::path folder_;
};

TEST_F(DeviceExchange, TheLibraryLogReceivesTheExchangeByDefault) {
    StartSimulator();
    const LibraryLogFolder folder("wq_device_exchange_log");
    {
        device::TDevice scale;
        scale.SetExtLogEnabled(true);
        Connect(scale);
        scale.ReadConf();
    }
    common::SetLogMode(common::TLogMode::lmOff);
    std::ifstream file(std::filesystem::path(common::GetLogPath(false)), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("Данные обмена ->"), std::string::npos) << text;
    EXPECT_NE(text.find("0209000100010000C900020000000200ABE9"), std::string::npos);
    EXPECT_NE(text.find("Данные обмена <-"), std::string::npos);
}

// Under a hold (an upload's loop) the log file stays denied to other
// processes through a quick answer, but a late one lets them in while it is
// awaited: their writers give up after 200 ms.
TEST_F(DeviceExchange, ALateAnswerLetsOtherProcessesWriteTheLog) {
    tiger_sim::TSimOptions options;
    options.DelayMs = 400;
    StartSimulator(options);
    const LibraryLogFolder folder("wq_device_late_answer_log");
    device::TDevice scale;
    scale.SetExtLogEnabled(true);
    Connect(scale);
    const common::TLogHold hold;
    common::WriteLog(u"kept", u"", common::TLogLevel::llInfo);
    const std::u16string file = common::GetLogPath(false);
    EXPECT_FALSE(log_tests::OtherWriterGetsIn(file));
    bool gotInDuringTheWait = false;
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        gotInDuringTheWait = log_tests::OtherWriterGetsIn(file);
    });
    driver::UploadRequests(scale, [&](const driver::TRequestSink& send) { send(scale.TareRequest(1, 5)); });
    other.join();
    EXPECT_TRUE(gotInDuringTheWait);
}

// Even a quick answer is awaited with the log file open to other processes:
// an upload keeps it only between its own lines, never while the scale works.
TEST(UploadLog, OtherProcessesWriteTheLogWhileEveryAnswerIsAwaited) {
    const LibraryLogFolder folder("wq_upload_wait_log");
    common::WriteLog(u"start", u"", common::TLogLevel::llInfo);
    const std::filesystem::path file(common::GetLogPath(false));
    const std::size_t frameSize = device::WriteTareFrame(0, 1, 1).size();
    constexpr int kFrames = 3;
    std::atomic<int> letIn{0};
    std::uintmax_t written = std::filesystem::file_size(file);
    ScriptedPeer peer([&](tiger_sim::net::TSocket s) {
        for (int frame = 0; frame < kFrames; ++frame) {
            std::string request(frameSize, '\0');
            for (std::size_t got = 0; got < frameSize;) {
                const long part = tiger_sim::net::Receive(s, request.data() + got, frameSize - got);
                if (part <= 0) return;
                got += static_cast<std::size_t>(part);
            }
            // The frame's lines come once it is sent; then the wait for its
            // answer begins, and lasts here until the look is over.
            for (int i = 0; i < 2000 && std::filesystem::file_size(file) == written; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(15);
            bool in = false;
            while (!(in = log_tests::OtherWriterGetsIn(file.u16string())) && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (in) ++letIn;
            written = std::filesystem::file_size(file);
            tiger_sim::net::SendAll(s, "\x06", 1);
        }
    });
    device::TDevice scale;
    scale.SetExtLogEnabled(true);
    scale.Enable(u"127.0.0.1", peer.Port());
    driver::UploadRequests(scale, [&](const driver::TRequestSink& send) {
        for (int32_t number = 1; number <= kFrames; ++number) send(scale.TareRequest(number, 5));
    });
    EXPECT_EQ(letIn.load(), kFrames);
}
