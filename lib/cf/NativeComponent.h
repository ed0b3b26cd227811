// The component's calls back into the platform through the connection that
// Init stored: error reports, message boxes, external events, the status
// line, the settings profile and the platform information. Each call makes
// host strings of its texts and releases them right after the call.
#pragma once

#include <cstdint>
#include <string>

#include "lib/cf/AddInLib2000.h"

namespace cf {

// The platform's information; the two texts stay the platform's.
struct RPlatformInfo {
    const WCHAR_T* AppVersion = nullptr;
    const WCHAR_T* UserAgentInformation = nullptr;
    int8_t Application = -1;  // -1: unknown
};

class TNativeComponent : public TCustomNativeComponent {
public:
    // Without a connection these do nothing and answer true (GetEventBufferDepth: 0).
    bool AddError(unsigned short code, const std::u16string& source, const std::u16string& description, long status);
    // Sets the platform's event buffer depth to 100 before posting.
    bool ExternalEvent(const std::u16string& source, const std::u16string& message, const std::u16string& data);
    bool SetEventBufferDepth(long depth);
    long GetEventBufferDepth();
    void CleanEventBuffer();
    bool SetStatusLine(const std::u16string& text);
    void ResetStatusLine();
    bool RegisterProfileAs(const std::u16string& profileName);
    bool Read(const std::u16string& key, Variant& value, long& errorCode, std::u16string& errorDescription);
    bool Write(const std::u16string& key, const Variant& value);

    // Without a connection or message box: nothing, false.
    void Alert(const std::u16string& text);
    bool Confirm(const std::u16string& text);
    // Without a connection or service: no texts and an unknown application.
    RPlatformInfo PlatformInfo();

    // A host string for callers that hand it to the platform themselves.
    WCHAR_T* _ToWChar_T(const std::u16string& text) const;
    void DisposeWChar_T(WCHAR_T* address) const;
};

}  // namespace cf
