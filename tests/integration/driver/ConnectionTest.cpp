// Open, Close and DeviceTest against the simulator, and the log file named
// after the scale's address.
#include <chrono>
#include <thread>

#include "tests/integration/driver/DriverFixture.h"

#include "lib/cf/TextUtils.h"

using namespace driver_tests;
using namespace host_emulation;

namespace {
// A loopback port with nobody listening: a simulator started and stopped.
uint16_t ClosedPort() {
    tiger_sim::TSimulator probe{tiger_sim::TSimOptions{}};
    const uint16_t free = probe.Start();
    probe.Stop();
    return free;
}
}  // namespace

TEST_F(DriverTest, OpenWithInitialSettingsFailsButStaysOpen) {
    EXPECT_FALSE(CallBool(u"Open"));
    EXPECT_EQ(LastError(), std::make_pair(1001, std::u16string(u"Синтаксическая ошибка в IP-адресе")));
    // Marked open: the next device operation passes the check and fails at its own reconnect.
    EXPECT_FALSE(CallBool(u"ClearGoods"));
    EXPECT_EQ(LastError().second, u"Синтаксическая ошибка в IP-адресе");
    EXPECT_TRUE(CallBool(u"Close"));
    EXPECT_FALSE(CallBool(u"ClearGoods"));
    EXPECT_EQ(LastError().second, u"Устройство не включено");
}

TEST_F(DriverTest, BadPortAndHostNameAreRefusedWithoutTraffic) {
    EXPECT_TRUE(SetParameter(u"IPAddress", Text(u"  127.0.0.1 ")));
    EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(70000)));
    EXPECT_FALSE(CallBool(u"Open"));
    EXPECT_EQ(LastError().second, u"Номер порта должен лежать в диапазоне 1-65535");
    EXPECT_TRUE(SetParameter(u"IPAddress", Text(u"localhost")));
    EXPECT_FALSE(CallBool(u"Open"));
    EXPECT_EQ(LastError().second, u"Синтаксическая ошибка в IP-адресе");
    EXPECT_TRUE(SetParameter(u"IPPort", Text(u"abc")));
    EXPECT_FALSE(CallBool(u"Open"));
    EXPECT_NE(LastError().second.find(u"abc"), std::u16string::npos);
}

TEST_F(DriverTest, DeviceTestOnAClosedDriverConnectsAndLeavesItClosed) {
    StartSimulator();
    EXPECT_TRUE(SetParameter(u"IPAddress", Text(u"127.0.0.1")));
    EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(port)));
    const CallResult test = Call(u"ТестУстройства");
    EXPECT_TRUE(test.value);
    EXPECT_EQ(test.texts.at(0), u"Весы подключены");
    EXPECT_EQ(test.texts.at(1), u"");
    EXPECT_FALSE(CallBool(u"ClearGoods"));
    EXPECT_EQ(LastError().second, u"Устройство не включено");
}

TEST_F(DriverTest, DeviceTestOnAnOpenDriverSendsNothing) {
    ASSERT_TRUE(OpenOnSimulator());
    // The simulator counts Open's connection when it accepts it, a moment later.
    ASSERT_TRUE(WaitForConnections(1));
    const uint64_t connections = sim->Summary().Connections;
    ASSERT_EQ(connections, 1u);
    const CallResult test = Call(u"DeviceTest");
    EXPECT_TRUE(test.value);
    EXPECT_EQ(test.texts.at(0), u"Весы подключены");
    EXPECT_EQ(sim->Summary().Connections, connections);
    EXPECT_EQ(sim->Summary().Frames, 0u);
    EXPECT_TRUE(CallBool(u"ClearGoods"));
}

TEST_F(DriverTest, DeviceTestWithUnreachableScaleFailsAndStaysClosed) {
    EXPECT_TRUE(SetParameter(u"IPAddress", Text(u"127.0.0.1")));
    EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(ClosedPort())));
    const CallResult test = Call(u"DeviceTest");
    EXPECT_FALSE(test.value);
    EXPECT_EQ(test.texts.at(0), u"");
    EXPECT_EQ(LastError().second, u"Ошибка при установлении подключения");
    EXPECT_FALSE(CallBool(u"UploadCompany", {Text(u"x")}));
    EXPECT_EQ(LastError().second, u"Устройство не включено");
}

// A C++ host deletes the object through its virtual destructor instead of
// calling DestroyObject. The simulator serves one connection at a time: a
// second driver is served only once the first one's connection is closed.
TEST_F(DriverTest, DeletingThroughTheDestructorSlotClosesTheScaleConnection) {
    ASSERT_TRUE(OpenOnSimulator());
    ASSERT_TRUE(WaitForConnections(1));
    driver->Done();
    driver->DeleteThroughTable(0);
    driver = std::make_unique<ComponentClient>(DriverLibrary(), u"w_quorlan7t4p", memory, &connection);
    ASSERT_TRUE(OpenOnSimulator());
    EXPECT_TRUE(WaitForConnections(2));
    EXPECT_TRUE(CallBool(u"DeleteGood", {IntValue(1)}));
}

TEST_F(DriverTest, LogFileIsNamedAfterTheAddress) {
    EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(true)));
    EXPECT_TRUE(SetParameter(u"ExtLogEnabled", BoolValue(true)));
    ASSERT_TRUE(OpenOnSimulator());
    EXPECT_TRUE(CallBool(u"DeleteGood", {IntValue(1234)}));
    EXPECT_TRUE(CallBool(u"Close"));
    EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(false)));
    EXPECT_TRUE(CallBool(u"Open"));  // switches logging off for the tests that follow
    bool found = false;
    for (const std::u16string& name : log_tests::FilesIn(LogFolder().Path())) {
        if (name.rfind(u"127_0_0_1_", 0) != 0) continue;
        found = true;
        const std::string content = log_tests::ReadFileBytes(LogFolder().Path() + name);
        EXPECT_NE(content.find("DEBUG\t> DeleteGood: \tParams: [1234]"), std::string::npos);
        // The request of DeletePLU(1234) and its answer, as the exchange log shows them.
        EXPECT_NE(content.find("\t02350001002D0000CF000100010001D2040000202020"), std::string::npos);
        EXPECT_NE(content.find("DEBUG\t\xD0\x94\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5 \xD0\xBE\xD0\xB1\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0 <-: \t06"), std::string::npos);
    }
    EXPECT_TRUE(found);
}
