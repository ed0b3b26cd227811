// The driver library linked into a fuzz program and driven as the platform
// drives it: through its three exports and the raw slots of its tables.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/host-emulation/AddInClient.h"
#include "tools/host-emulation/HostConnection.h"
#include "tools/host-emulation/HostMemoryManager.h"
#include "tools/host-emulation/HostValues.h"

namespace fuzz_support {

// The linked exports; the first call points the log at a private folder.
host_emulation::AddInLibrary& LinkedDriverLibrary();

// One driver object with its own platform memory and connection; at the end
// every block the driver handed over must be back. With well-typed arguments
// no error may reach the platform either (the driver answers false itself);
// a value of a type the component does not take is reported to it.
enum class TReports { None, Allowed };

class DriverSession {
public:
    explicit DriverSession(TReports reports = TReports::None);
    ~DriverSession();
    DriverSession(const DriverSession&) = delete;
    DriverSession& operator=(const DriverSession&) = delete;

    host_emulation::ComponentClient& Driver() { return *driver_; }
    host_emulation::HostMemoryManager& Memory() { return memory_; }
    tVariant Text(const std::u16string& text);

    // Calls a method by name with `args` (the rest sent empty); answers its
    // Boolean result. The call itself must be delivered.
    bool Call(const std::u16string& method, std::vector<tVariant> args = {});
    bool SetParameter(const std::u16string& name, tVariant value);
    // The last result's description, as GetLastError gives it.
    std::u16string LastError();

private:
    // Calls the method by number; its out-parameters are left in `params`.
    bool Invoke(long number, host_emulation::HostParams& params);

    host_emulation::HostMemoryManager memory_;
    host_emulation::HostConnection connection_;
    std::unique_ptr<host_emulation::ComponentClient> driver_;
    TReports reports_;
};

}  // namespace fuzz_support
