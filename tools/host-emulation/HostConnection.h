// The platform's connection object as the component sees it: a raw function
// table with every operation of the connection interface. It records what the
// component asked of it, and can hand out a message box and platform
// information service through GetInterface.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lib/cf/HostAbi.h"

namespace host_emulation {

struct ErrorReport {
    unsigned short code;
    std::u16string source;
    std::u16string description;
    long status;
    bool operator==(const ErrorReport&) const = default;
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

    // GetInterface hands out the message box and platform information only when offered.
    bool offerServices = true;
    // The message box's answer to Confirm.
    bool confirmAnswer = false;
    // What Read answers; a string or blob in it must come from the platform's memory manager.
    tVariant readValue{};
    long readErrorCode = 0;
    std::u16string readErrorDescription;
    // The platform information record, laid out as the platform does.
    struct AppInfo {
        const WCHAR_T* AppVersion;
        const WCHAR_T* UserAgentInformation;
        int32_t Application;
    } appInfo{u"8.3.24.1548", u"1C:Enterprise test host", 1};

private:
    struct Object {
        const void* const* table;
        HostConnection* owner;
    } object_{};
    std::vector<const void*> slots_;
    Object messageBox_{};
    std::vector<const void*> messageBoxSlots_;
    Object platformInfo_{};
    std::vector<const void*> platformInfoSlots_;
    std::vector<ErrorReport> errors_;
    std::vector<ConnectionCall> calls_;

    friend struct ConnectionSlots;
};

}  // namespace host_emulation
