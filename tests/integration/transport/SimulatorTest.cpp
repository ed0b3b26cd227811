#include <chrono>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <sstream>

#include "device/uScaleFrames.h"
#include "lib/cf/TextUtils.h"
#include "tests/integration/transport/TransportSupport.h"

using namespace transport_test;

namespace {

// Sends raw bytes over the driver's transport and reads `length` answer bytes.
class RawClient {
public:
    explicit RawClient(uint16_t port) {
        socket_.SetIPAddress(u"127.0.0.1");
        socket_.SetIPPort(port);
        socket_.SetConnection();
    }
    std::string Exchange(const std::string& request, int length = 1) {
        socket_.WriteStr(request);
        std::string answer;
        socket_.ReadString(length, answer);
        return answer;
    }

private:
    device::TTCPSocket socket_;
};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::filesystem::path TempFile(const std::string& suffix) {
    return std::filesystem::temp_directory_path() /
           ("wq_sim_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + suffix);
}

}  // namespace

TEST_F(SimulatorTest, BadFramesAndUnknownCommandsAreRefused) {
    StartSimulator();
    RawClient client(port);
    std::string badCrc = device::ReadConfFrame(0);
    badCrc.back() ^= 1;
    EXPECT_EQ(client.Exchange(badCrc), "\x15");
    std::string badLength = device::ReadConfFrame(0);
    badLength[5] = 2;  // data length disagrees with the total
    EXPECT_EQ(client.Exchange(device::FinishFrame(badLength.substr(0, badLength.size() - 2), 0)), "\x15");
    EXPECT_EQ(client.Exchange(device::FinishFrame(device::FrameHeader({0xCF, 7, 1, 45, 0, 0}) + std::string(45, ' '), 0)),
              "\x15");
    EXPECT_EQ(client.Exchange("garbage"), "\x15");
    // The stream recovers: the next good frame is answered.
    EXPECT_EQ(client.Exchange(device::WriteTareFrame(0, 2, 300)), "\x06");
    const tiger_sim::TSimSummary summary = sim->Summary();
    EXPECT_EQ(summary.Frames, 5u);
    EXPECT_EQ(summary.BadFrames, 3u);
    EXPECT_EQ(summary.Refused, 4u);
    EXPECT_EQ(summary.Acknowledged, 1u);
}

TEST_F(SimulatorTest, DelayedAnswersStillArrive) {
    tiger_sim::TSimOptions options;
    options.DelayMs = 300;
    StartSimulator(options);
    RawClient client(port);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Exchange(device::WriteTareFrame(0, 2, 300)), "\x06");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

TEST_F(SimulatorTest, StateAndJournalFiles) {
    tiger_sim::TSimOptions options;
    options.StateFile = TempFile(".json").string();
    options.JournalFile = TempFile(".jsonl").string();
    options.RefuseAt = {3};
    StartSimulator(options);
    RawClient client(port);
    device::TPluRecord plu;
    plu.PLU = 5;
    plu.Barcode = u"12345";
    plu.Name = u"Сыр \"Гауда\"||вес";
    plu.Price = device::TCurrency{1350};
    plu.IsWeightGoods = false;
    EXPECT_EQ(client.Exchange(device::WritePluFrame(1, plu)), "\x06");
    EXPECT_EQ(client.Exchange(device::WriteAdditionalTextFrame(1, 3, u"a||b")), "\x06");
    EXPECT_EQ(client.Exchange(device::WriteTareFrame(1, 1, 150)), "\x15");
    sim->Stop();

    EXPECT_EQ(ReadFile(options.StateFile),
              R"({"firmware_mark":1,"plu":[{"plu":5,"barcode":"0000000012345","name_line1":"Сыр \"Гауда\"",)"
              R"("name_line2":"вес","price_hundredths":14,"tax_number":0,"tare_number":0,"fix_weight":0,)"
              R"("group_number":0,"is_weight_goods":false,"shelf_life":0,"sell_by_date":0,"text_id":0}],"tare":[],)"
              R"("company":null,"additional_texts":[{"text_id":3,"text":"a\u0010b"}],"operators":[],"date_texts":[],)"
              R"("date_time":null,"operator_options":null,"barcode_format":null,"label_options":[],"labels":[]})"
              "\n");
    const std::string journal = ReadFile(options.JournalFile);
    const std::string tare = cf::ToUtf8(device::BytesToHex(device::WriteTareFrame(1, 1, 150)));
    EXPECT_NE(journal.find(R"({"frame":3,"connection":1,"hex":")" + tare +
                           R"(","status":"ok","command":"WriteTare","fields":{"number":1,"weight":150},)"
                           R"("fault":"refuse","answer":"15"})" "\n"),
              std::string::npos)
        << journal;
    EXPECT_EQ(std::count(journal.begin(), journal.end(), '\n'), 3);
    std::filesystem::remove(options.StateFile);
    std::filesystem::remove(options.JournalFile);
}

TEST(SimulatorOptions, ParsingAndHelp) {
    const tiger_sim::TSimOptions o = tiger_sim::ParseOptions(
        {"--port", "3001", "--state=s.json", "--journal", "j.jsonl", "--refuse-at", "2", "--refuse-at", "4",
         "--close-at", "5", "--silent-at", "6", "--delay-ms", "20"});
    EXPECT_EQ(o.Port, 3001);
    EXPECT_EQ(o.StateFile, "s.json");
    EXPECT_EQ(o.JournalFile, "j.jsonl");
    EXPECT_EQ(o.RefuseAt, (std::set<uint64_t>{2, 4}));
    EXPECT_EQ(o.CloseAt, (std::set<uint64_t>{5}));
    EXPECT_EQ(o.SilentAt, (std::set<uint64_t>{6}));
    EXPECT_EQ(o.DelayMs, 20);
    EXPECT_TRUE(tiger_sim::ParseOptions({"--help"}).Help);
    EXPECT_THROW(tiger_sim::ParseOptions({"--port", "65536"}), std::invalid_argument);
    EXPECT_THROW(tiger_sim::ParseOptions({"--port", "-1"}), std::invalid_argument);
    EXPECT_THROW(tiger_sim::ParseOptions({"--refuse-at"}), std::invalid_argument);
    EXPECT_THROW(tiger_sim::ParseOptions({"--bogus", "1"}), std::invalid_argument);
    for (const char* option : {"--port", "--state", "--journal", "--refuse-at", "--close-at", "--silent-at",
                               "--delay-ms", "--help"}) {
        EXPECT_NE(tiger_sim::HelpText().find(option), std::string::npos) << option;
    }
}
