// One driver object loaded and driven exactly as the platform does, with
// calls by method name.
#pragma once

#include <chrono>
#include <iosfwd>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "tools/host-emulation/AddInClient.h"
#include "tools/host-emulation/HostConnection.h"
#include "tools/host-emulation/HostMemoryManager.h"

namespace addin_host {

struct CallOutcome {
    bool delivered = false;     // what CallAsFunc answered
    bool resultIsTrue = false;  // the method's own Boolean result
    std::string result;         // the result as text
    std::vector<std::string> params;  // every parameter after the call
    std::vector<std::string> errors;  // reports the component sent to the platform
};

class HostSession {
public:
    // Loads the library and creates its first (or the named) component class.
    // With reportTiming the session prints, when it ends, how long loading and
    // creating took and when the first call was answered.
    explicit HostSession(const std::string& libraryPath, bool reportTiming = false, const std::u16string& className = u"");
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    const host_emulation::AddInLibrary& Library() const { return *library_; }
    host_emulation::ComponentClient& Component() { return *component_; }
    host_emulation::HostMemoryManager& Memory() { return memory_; }

    // Calls the method by either name. Missing trailing arguments are sent empty.
    CallOutcome Call(const std::string& method, std::vector<tVariant> args);
    // The driver's GetLastError as "code: text".
    std::string LastError();

private:
    using Clock = std::chrono::steady_clock;
    const Clock::time_point started_ = Clock::now();
    bool reportTiming_;
    Clock::duration loaded_{};
    std::optional<Clock::duration> firstAnswer_;
    host_emulation::HostMemoryManager memory_;
    host_emulation::HostConnection connection_;
    std::unique_ptr<host_emulation::AddInLibrary> library_;
    std::unique_ptr<host_emulation::ComponentClient> component_;
};

// Prints an outcome the way the `call` command shows it.
void PrintOutcome(std::ostream& out, const std::string& method, const CallOutcome& outcome);

// The driver library beside this program.
std::string DefaultLibraryPath();

}  // namespace addin_host
