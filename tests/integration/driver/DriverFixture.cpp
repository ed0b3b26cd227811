#include "tests/integration/driver/DriverFixture.h"

#include <chrono>
#include <thread>

#include "common/Common.Log.h"
#include "lib/cf/TextUtils.h"

namespace driver_tests {

using namespace host_emulation;

log_tests::TempFolder& LogFolder() {
    static log_tests::TempFolder folder;
    return folder;
}

AddInLibrary& DriverLibrary() {
    LogFolder();
    log_tests::SetEnvironment(common::kLogDirVariable, LogFolder().Path());
    static AddInLibrary library(DriverLibraryPath());
    return library;
}

void DriverTest::SetUp() {
    driver = std::make_unique<ComponentClient>(DriverLibrary(), u"w_quorlan7t4p", memory, &connection);
}

void DriverTest::TearDown() {
    driver.reset();
    if (sim) sim->Stop();
    // Whatever the driver handed over was freed by the platform; it keeps nothing.
    EXPECT_EQ(memory.LiveBlocks(), 0u);
    EXPECT_TRUE(memory.Errors().empty());
    // The driver answers false itself: no report reaches the platform.
    EXPECT_EQ(connection.Errors().size(), expectedReports);
}

CallResult DriverTest::Call(const std::u16string& method, std::vector<tVariant> args) {
    const long number = driver->FindMethod(method);
    EXPECT_GE(number, 0) << cf::ToUtf8(method);
    while (static_cast<long>(args.size()) < driver->GetNParams(number)) args.push_back(EmptyValue());
    HostParams params(memory, std::move(args));
    tVariant result = EmptyValue();
    CallResult outcome;
    outcome.delivered = driver->CallAsFunc(number, &result, params.data(), params.count());
    outcome.value = result.vt == VTYPE_BOOL && result.bVal;
    outcome.number = result.vt == VTYPE_I4 ? result.intVal : 0;
    Release(memory, result);
    for (long i = 0; i < params.count(); ++i) outcome.texts.push_back(StringOf(params[static_cast<std::size_t>(i)]));
    EXPECT_TRUE(outcome.delivered) << cf::ToUtf8(method);
    return outcome;
}

bool DriverTest::SetParameter(const std::u16string& name, tVariant value) {
    std::vector<tVariant> args;
    args.push_back(Text(name));
    args.push_back(value);
    return CallBool(u"SetParameter", std::move(args));
}

std::pair<int32_t, std::u16string> DriverTest::LastError() {
    const CallResult result = Call(u"GetLastError");
    return {result.number, result.texts.at(0)};
}

void DriverTest::StartSimulator(tiger_sim::TSimOptions options) {
    options.KeepJournal = true;
    sim = std::make_unique<tiger_sim::TSimulator>(std::move(options));
    port = sim->Start();
}

bool DriverTest::OpenOnSimulator(int firmwareType) {
    if (!sim) StartSimulator();
    EXPECT_TRUE(SetParameter(u"IPAddress", Text(u"127.0.0.1")));
    EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(port)));
    EXPECT_TRUE(SetParameter(u"FirmwareType", DoubleValue(firmwareType)));
    return CallBool(u"Open");
}

bool DriverTest::WaitForConnections(uint64_t count) const {
    for (int i = 0; i < 500 && sim->Summary().Connections < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return sim->Summary().Connections >= count;
}

std::vector<std::string> DriverTest::ReceivedFrames() const { return test_support::ReceivedFrames(*sim); }

std::u16string GoodsDocument(int firstPlu, int count) {
    std::u16string xml = u"<Table>";
    for (int plu = firstPlu; plu < firstPlu + count; ++plu) {
        const std::u16string n = cf::IntToStr(plu);
        xml += u"<Record PLU=\"" + n + u"\" Code=\"" + n + u"\" EANData=\"21" + n + u"\" Name=\"Товар " + n +
               u"\" GroupCode=\"1\" Price=\"10,50\" FixWeight=\"0\" SellByDate=\"5\" ShelfLife=\"7\" "
               u"TaxNumber=\"1\" TextID=\"0\"/>";
    }
    return xml + u"</Table>";
}

}  // namespace driver_tests
