// A log that cannot be written costs its lines, never a call: results,
// out-parameters and the platform's reports stay as they would be, and the
// device test tells the administrator.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "common/Common.Log.h"
#include "lib/cf/TextUtils.h"
#include "tests/integration/driver/DriverFixture.h"

using namespace driver_tests;
using namespace host_emulation;

namespace {

const std::u16string kConnected = u"Весы подключены";
const std::u16string kLogNotice = u"\r\nВнимание: журнал драйвера не записывается. ";

// Today's log file name for a stem, as the local clock dates it.
std::u16string TodaysLogName(const std::u16string& stem) {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    char date[40];
    std::snprintf(date, sizeof date, "%04d.%02d.%02d", local->tm_year + 1900, local->tm_mon + 1, local->tm_mday);
    return stem + u"_" + cf::FromUtf8(date) + u".log";
}

class LogFailureTest : public DriverTest {
protected:
    void TearDown() override {
        // Logging off for the tests that follow; the folder back.
        log_tests::SetEnvironment(common::kLogDirVariable, LogFolder().Path());
        EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(false)));
        Call(u"Open");
        Call(u"Close");
        std::error_code ignored;
        for (const auto& planted : planted_) std::filesystem::remove_all(std::filesystem::path(planted), ignored);
        for (const auto& [aside, original] : keptAside_)
            std::filesystem::rename(std::filesystem::path(aside), std::filesystem::path(original), ignored);
        DriverTest::TearDown();
    }
    // Points the log into a folder that cannot exist: its parent is a file.
    std::u16string BreakTheLogFolder() {
        const std::u16string blocker = LogFolder().Path() + u"blocker";
        std::ofstream(std::filesystem::path(blocker)) << "a file, not a folder";
        planted_.push_back(blocker);
        log_tests::SetEnvironment(common::kLogDirVariable, blocker + u"/logs");
        return blocker;
    }
    // A folder under the name of a log file: that file can never be written.
    void PlantFolderAsLogFile(const std::u16string& stem) {
        const std::u16string path = LogFolder().Path() + TodaysLogName(stem);
        if (std::filesystem::exists(std::filesystem::path(path))) {
            std::filesystem::rename(std::filesystem::path(path), std::filesystem::path(path + u".aside"));
            keptAside_.emplace_back(path + u".aside", path);
        }
        std::filesystem::create_directories(std::filesystem::path(path));
        planted_.push_back(path);
    }

private:
    std::vector<std::u16string> planted_;
    std::vector<std::pair<std::u16string, std::u16string>> keptAside_;
};

}  // namespace

TEST_F(LogFailureTest, AnUnwritableLogFolderFailsNoCall) {
    BreakTheLogFolder();
    EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(true)));
    ASSERT_TRUE(OpenOnSimulator());
    EXPECT_EQ(LastError(), std::make_pair(0, std::u16string()));
    EXPECT_EQ(driver->LastErrorDescription(), u"");
    // The scale gets the data and the call says so.
    EXPECT_TRUE(CallBool(u"UploadCompany", {Text(u"ООО Ромашка")}));
    ASSERT_TRUE(sim->State().Company.has_value());
    // A failing method keeps its own message, not the log's.
    EXPECT_TRUE(CallBool(u"Close"));
    EXPECT_FALSE(CallBool(u"ClearGoods"));
    EXPECT_EQ(LastError(), std::make_pair(1001, std::u16string(u"Устройство не включено")));
    EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(false)));
}

TEST_F(LogFailureTest, OpenWhoseOnlyFailingLineIsItsExitTraceAnswersTrueAndAgrees) {
    EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(true)));
    // The entry line goes to the file of the previous stem; Open switches the
    // stem to the address, whose file cannot be written.
    PlantFolderAsLogFile(u"127_0_0_1");
    const CallResult open = [&] {
        StartSimulator();
        EXPECT_TRUE(SetParameter(u"IPAddress", Text(u"127.0.0.1")));
        EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(port)));
        return Call(u"Open");
    }();
    EXPECT_TRUE(open.delivered);
    EXPECT_TRUE(open.value);
    EXPECT_EQ(LastError(), std::make_pair(0, std::u16string()));
    EXPECT_TRUE(CallBool(u"DeleteGood", {IntValue(7)}));
    EXPECT_EQ(sim->Summary().Frames, 1u);
}

TEST_F(LogFailureTest, DeviceTestTellsTheLogsProblemWithTheSystemsReason) {
    const std::u16string blocker = BreakTheLogFolder();
    EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(true)));
    StartSimulator();
    EXPECT_TRUE(SetParameter(u"IPAddress", Text(u"127.0.0.1")));
    EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(port)));
    const CallResult test = Call(u"DeviceTest");
    EXPECT_TRUE(test.value);
    const std::u16string& answer = test.texts.at(0);
    EXPECT_EQ(answer.rfind(kConnected + kLogNotice, 0), 0u) << cf::ToUtf8(answer);
    EXPECT_NE(answer.find(blocker), std::u16string::npos) << cf::ToUtf8(answer);
    EXPECT_GT(answer.size(), (kConnected + kLogNotice + blocker).size() + 10) << "the system's reason follows";

    // Unreachable: the error carries the problem as well.
    sim->Stop();
    const CallResult failed = Call(u"DeviceTest");
    EXPECT_FALSE(failed.value);
    EXPECT_EQ(LastError().second.rfind(u"Ошибка при установлении подключения" + kLogNotice, 0), 0u);

    // Mended: the plain answer again.
    log_tests::SetEnvironment(common::kLogDirVariable, LogFolder().Path());
    StartSimulator();
    EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(port)));
    EXPECT_EQ(Call(u"DeviceTest").texts.at(0), kConnected);
}

TEST_F(LogFailureTest, WithTheLogOffDeviceTestSaysNothingOfIt) {
    BreakTheLogFolder();
    StartSimulator();
    EXPECT_TRUE(SetParameter(u"IPAddress", Text(u"127.0.0.1")));
    EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(port)));
    EXPECT_EQ(Call(u"DeviceTest").texts.at(0), kConnected);
}

TEST_F(LogFailureTest, AnOverlongAddressGivesALogFileTheSystemCanName) {
    const std::u16string address(300, u'1');
    EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(true)));
    EXPECT_TRUE(SetParameter(u"IPAddress", Text(address)));
    const CallResult open = Call(u"Open");
    EXPECT_TRUE(open.delivered);
    EXPECT_FALSE(open.value);
    EXPECT_EQ(LastError().second, u"Синтаксическая ошибка в IP-адресе");
    bool found = false;
    for (const std::u16string& name : log_tests::FilesIn(LogFolder().Path())) {
        if (name.rfind(address.substr(0, 100), 0) != 0) continue;
        found = true;
        // A name of at most 255 bytes; on Windows a whole path within MAX_PATH.
        EXPECT_LE(cf::ToUtf8(name).size(), 255u);
        if (std::filesystem::path::preferred_separator == L'\\') {
            EXPECT_LE((LogFolder().Path() + name).size(), 259u);
        }
        const std::string content = log_tests::ReadFileBytes(LogFolder().Path() + name);
        EXPECT_NE(content.find("ERROR\tException: \t"), std::string::npos);
        std::filesystem::remove(std::filesystem::path(LogFolder().Path() + name));
    }
    EXPECT_TRUE(found);
}
