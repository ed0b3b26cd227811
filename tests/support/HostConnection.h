// The platform's connection object as the component sees it: a raw function
// table with every operation of the connection interface. It records what the
// component asked of it, and can hand out a message box and platform
// information service through GetInterface.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host_emulation {

struct ErrorReport {
    unsigned short code;
    std::u16string source;
    std::u16string description;
    long status;
};

struct ConnectionCall {
    std::string operation;
    std::vector<std::u16string> texts;
    long number = 0;
};

class HostConnection {
public:
    HostConnection();
    HostConnection(const HostConnection&) = delete;
    HostConnection& operator=(const HostConnection&) = delete;

    // The address the component receives in Init.
    void* Interface() { return &object_; }

    const std::vector<ErrorReport>& Errors() const { return errors_; }
    const std::vector<ConnectionCall>& Calls() const { return calls_; }
    void ClearRecords() {
        errors_.clear();
        calls_.clear();
    }

    long eventBufferDepth = 0;

private:
    struct Object {
        const void* const* table;
        HostConnection* owner;
    } object_{};
    std::vector<const void*> slots_;
    std::vector<ErrorReport> errors_;
    std::vector<ConnectionCall> calls_;

    friend struct ConnectionSlots;
};

}  // namespace host_emulation
