// Every fault a scale, a network or a disk can bring to an upload, one row
// each: what the driver answers, word for word, and what reached the scale.
#include <filesystem>
#include <fstream>
#include <functional>

#include "common/Common.Log.h"
#include "lib/cf/TextUtils.h"
#include "tests/integration/driver/DriverFixture.h"

using namespace driver_tests;
using namespace host_emulation;

namespace {

constexpr int kRecords = 5;
const std::u16string kRefused = u"Ошибка выгрузки PLU";

struct FaultRow {
    const char* scenario;
    tiger_sim::TSimOptions scale;
    // Run against the open driver before the upload (a log made unwritable and the like); may be empty.
    std::function<void()> before;
    bool uploaded;
    std::u16string message;  // GetLastError's text when the upload fails
    std::size_t held;        // PLU records the scale holds afterwards
    uint64_t frames;         // frames that reached it
};

tiger_sim::TSimOptions Refuse(uint64_t k) {
    tiger_sim::TSimOptions o;
    o.RefuseAt = {k};
    return o;
}
tiger_sim::TSimOptions Close(uint64_t k) {
    tiger_sim::TSimOptions o;
    o.CloseAt = {k};
    return o;
}
tiger_sim::TSimOptions Silent(uint64_t k) {
    tiger_sim::TSimOptions o;
    o.SilentAt = {k};
    return o;
}
tiger_sim::TSimOptions Slow(int ms) {
    tiger_sim::TSimOptions o;
    o.DelayMs = ms;
    return o;
}

class FaultMatrix : public DriverTest {
protected:
    void TearDown() override {
        log_tests::SetEnvironment(common::kLogDirVariable, LogFolder().Path());
        SetParameter(u"LogEnabled", BoolValue(false));
        Call(u"Open");
        Call(u"Close");
        DriverTest::TearDown();
    }

    void Run(const FaultRow& row) {
        SCOPED_TRACE(row.scenario);
        if (sim) sim->Stop();
        StartSimulator(row.scale);
        ASSERT_TRUE(OpenOnSimulator());
        if (row.before) row.before();
        const CallResult upload =
            Call(u"UploadGoods", {EmptyValue(), Text(GoodsDocument(1, kRecords)), Text(u"first")});
        EXPECT_EQ(upload.value, row.uploaded);
        // The last error outlives later successes, so only a failure is compared.
        if (!row.uploaded) {
            EXPECT_EQ(LastError().second, row.message);
        }
        EXPECT_EQ(sim->State().Plu.size(), row.held);
        EXPECT_EQ(sim->Summary().Frames, row.frames);
        EXPECT_TRUE(CallBool(u"Close"));
    }
};

}  // namespace

// Slow: three rows wait for the 5-second receive bound.
TEST_F(FaultMatrix, UploadsUnderEveryScaleFault) {
    const std::u16string blocker = LogFolder().Path() + u"fault-matrix-blocker";
    std::ofstream(std::filesystem::path(blocker)) << "a file where a folder should be";
    // With logging on, lines that cannot be written are lost; nothing else is.
    const auto unwritableLog = [&] {
        EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(true)));
        EXPECT_TRUE(CallBool(u"Open"));
        log_tests::SetEnvironment(common::kLogDirVariable, blocker + u"/logs");
    };
    const FaultRow rows[] = {
        {"no fault", {}, nullptr, true, u"", kRecords, kRecords},
        {"refused at the first record", Refuse(1), nullptr, false, kRefused, 0, 1},
        {"refused in the middle", Refuse(3), nullptr, false, kRefused, 2, 3},
        {"refused at the last record", Refuse(kRecords), nullptr, false, kRefused, kRecords - 1, kRecords},
        {"connection closed at the first record", Close(1), nullptr, false, kRefused, 0, 1},
        {"connection closed in the middle", Close(3), nullptr, false, kRefused, 2, 3},
        {"connection closed at the last record", Close(kRecords), nullptr, false, kRefused, kRecords - 1, kRecords},
        {"silence at the first record", Silent(1), nullptr, false, u"Ошибка при получении ответа от сервера", 0, 1},
        {"silence in the middle", Silent(3), nullptr, false, u"Ошибка при получении ответа от сервера", 2, 3},
        {"silence at the last record", Silent(kRecords), nullptr, false, u"Ошибка при получении ответа от сервера",
         kRecords - 1, kRecords},
        {"every answer 300 ms late, under the bound", Slow(300), nullptr, true, u"", kRecords, kRecords},
        {"log folder not writable", {}, unwritableLog, true, u"", kRecords, kRecords},
    };
    for (const FaultRow& row : rows) Run(row);
    std::filesystem::remove(std::filesystem::path(blocker));
}

TEST_F(FaultMatrix, ALogFileLockedByAnotherProcessCostsOnlyItsLines) {
    StartSimulator();
    EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(true)));
    ASSERT_TRUE(OpenOnSimulator());
    const CallResult path = Call(u"GetDescription");
    const std::u16string& xml = path.texts.at(0);
    const std::size_t at = xml.find(u"LogPath=\"") + 9;
    const std::u16string folder = xml.substr(at, xml.find(u'"', at) - at);
    std::u16string file;
    for (const std::u16string& name : log_tests::FilesIn(folder))
        if (name.rfind(u"127_0_0_1_", 0) == 0) file = folder + name;
    ASSERT_FALSE(file.empty());
    log_tests::ForeignFileLock lock(file);
    EXPECT_TRUE(CallBool(u"UploadGoods", {EmptyValue(), Text(GoodsDocument(1, kRecords)), Text(u"first")}));
    EXPECT_EQ(sim->State().Plu.size(), static_cast<std::size_t>(kRecords));
    EXPECT_NE(Call(u"DeviceTest").texts.at(0).find(file), std::u16string::npos) << "the lock is named";
}

TEST_F(FaultMatrix, UnreachableScalesAndBadAddressesFailOpenWithTheirMessages) {
    struct Row {
        const char* scenario;
        std::u16string address;
        double port;
        std::u16string message;
    };
    tiger_sim::TSimulator gone{tiger_sim::TSimOptions{}};
    const double nobodyListens = gone.Start();
    gone.Stop();
    StartSimulator();
    const double live = port;
    const Row rows[] = {
        {"nobody listening", u"127.0.0.1", nobodyListens, u"Ошибка при установлении подключения"},
        {"no address", u"", live, u"Синтаксическая ошибка в IP-адресе"},
        {"a host name", u"localhost", live, u"Синтаксическая ошибка в IP-адресе"},
        {"an octet above 255", u"127.0.0.256", live, u"Синтаксическая ошибка в IP-адресе"},
        {"port 0", u"127.0.0.1", 0, u"Номер порта должен лежать в диапазоне 1-65535"},
        {"port 65536", u"127.0.0.1", 65536, u"Номер порта должен лежать в диапазоне 1-65535"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.scenario);
        EXPECT_TRUE(SetParameter(u"IPAddress", Text(row.address)));
        EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(row.port)));
        EXPECT_FALSE(CallBool(u"Open"));
        EXPECT_EQ(LastError().second, row.message);
    }
    EXPECT_EQ(sim->Summary().Connections, 0u);
    EXPECT_EQ(sim->Summary().Frames, 0u);
}

TEST_F(FaultMatrix, AThousandObjectsComeAndGoLeavingNothing) {
    for (int i = 0; i < 1000; ++i) {
        ComponentClient object(DriverLibrary(), u"w_quorlan7t4p", memory, &connection);
        ASSERT_NE(object.Object(), nullptr) << i;
    }
    EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST_F(FaultMatrix, TwoObjectsOnTwoScalesKeepTheirOwnConnections) {
    StartSimulator();
    tiger_sim::TSimOptions keep;
    keep.KeepJournal = true;
    tiger_sim::TSimulator second{keep};
    const uint16_t secondPort = second.Start();
    ComponentClient other(DriverLibrary(), u"w_quorlan7t4p", memory, &connection);
    const auto call = [&](const std::u16string& method, std::vector<tVariant> args) {
        const long number = other.FindMethod(method);
        while (static_cast<long>(args.size()) < other.GetNParams(number)) args.push_back(EmptyValue());
        HostParams params(memory, std::move(args));
        tVariant result = EmptyValue();
        EXPECT_TRUE(other.CallAsFunc(number, &result, params.data(), params.count()));
        return result.vt == VTYPE_BOOL && result.bVal;
    };
    ASSERT_TRUE(OpenOnSimulator());
    EXPECT_TRUE(call(u"SetParameter", {Text(u"IPAddress"), Text(u"127.0.0.1")}));
    EXPECT_TRUE(call(u"SetParameter", {Text(u"IPPort"), DoubleValue(secondPort)}));
    ASSERT_TRUE(call(u"Open", {}));
    // Interleaved: each object's records reach its own scale only.
    EXPECT_TRUE(CallBool(u"UploadGoods", {EmptyValue(), Text(GoodsDocument(1, 3)), Text(u"first")}));
    EXPECT_TRUE(call(u"UploadGoods", {EmptyValue(), Text(GoodsDocument(100, 2)), Text(u"first")}));
    EXPECT_TRUE(CallBool(u"DeleteGood", {IntValue(2)}));
    EXPECT_TRUE(call(u"UploadCompany", {Text(u"Второй магазин")}));
    EXPECT_EQ(sim->State().Plu.size(), 2u);
    EXPECT_FALSE(sim->State().Company.has_value());
    EXPECT_EQ(second.State().Plu.size(), 2u);
    EXPECT_EQ(second.State().Plu.count(100), 1u);
    EXPECT_TRUE(second.State().Company.has_value());
    EXPECT_TRUE(call(u"Close", {}));
    second.Stop();
}
