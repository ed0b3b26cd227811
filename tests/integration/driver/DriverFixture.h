// The driver library loaded as the platform loads it, one driver object per
// test, and the scale simulator on a thread of the test process.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/ReferenceFrames.h"
#include "tests/support/TestLibraries.h"
#include "tests/unit/common/LogTestSupport.h"
#include "tools/host-emulation/AddInClient.h"
#include "tools/host-emulation/HostValues.h"
#include "tools/tiger-sim/Simulator.h"

namespace driver_tests {

using host_emulation::HostMemoryManager;

// The log goes to a private folder for the whole run, set before the library loads.
log_tests::TempFolder& LogFolder();
host_emulation::AddInLibrary& DriverLibrary();

struct CallResult {
    bool delivered = false;
    bool value = false;                 // the method's Boolean result
    int32_t number = 0;                 // or its integer result
    std::vector<std::u16string> texts;  // every parameter after the call, as text
};

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Calls by name; trailing parameters the caller leaves out are sent empty.
    CallResult Call(const std::u16string& method, std::vector<tVariant> args = {});
    bool CallBool(const std::u16string& method, std::vector<tVariant> args = {}) {
        return Call(method, std::move(args)).value;
    }
    bool SetParameter(const std::u16string& name, tVariant value);
    std::pair<int32_t, std::u16string> LastError();
    // A host string in platform memory.
    tVariant Text(const std::u16string& text) { return host_emulation::StringValue(memory, text); }

    void StartSimulator(tiger_sim::TSimOptions options = {});
    // Address and port of the simulator, the firmware type, then Open.
    bool OpenOnSimulator(int firmwareType = 1);
    // Waits (up to 5 s) until the simulator has accepted `count` connections.
    bool WaitForConnections(uint64_t count) const;
    // Every frame the simulator received, in order.
    std::vector<std::string> ReceivedFrames() const;

    HostMemoryManager memory;
    host_emulation::HostConnection connection;
    std::unique_ptr<host_emulation::ComponentClient> driver;
    std::unique_ptr<tiger_sim::TSimulator> sim;
    uint16_t port = 0;
    // Reports the driver may send: tests that expect them say so.
    std::size_t expectedReports = 0;
};

// A goods document of `count` records starting at `firstPlu`.
std::u16string GoodsDocument(int firstPlu, int count);
using test_support::ReferenceCrc;
using test_support::ReferenceFrame;

}  // namespace driver_tests
