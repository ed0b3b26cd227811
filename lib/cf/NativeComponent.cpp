#include "lib/cf/NativeComponent.h"

#include <cstring>

#include "lib/cf/HostCalls.h"
#include "lib/cf/HostValue.h"

namespace cf {

namespace {

tVariant EmptyRecord() {
    tVariant record;
    std::memset(static_cast<void*>(&record), 0, sizeof(record));
    return record;
}

// A value record the component lends to the platform for one call; what the
// record holds afterwards is released with it.
class ScopedHostValue {
public:
    explicit ScopedHostValue(void* memoryManager) : memoryManager_(memoryManager), record_(EmptyRecord()) {}
    ~ScopedHostValue() {
        try {
            VariantToHost(memoryManager_, Variant(), record_);
        } catch (...) {
        }
    }
    ScopedHostValue(const ScopedHostValue&) = delete;
    ScopedHostValue& operator=(const ScopedHostValue&) = delete;
    tVariant* get() { return &record_; }

private:
    void* memoryManager_;
    tVariant record_;
};

}  // namespace

bool TNativeComponent::AddError(unsigned short code, const std::u16string& source, const std::u16string& description,
                                long status) {
    if (Connection == nullptr) return true;
    ScopedHostString hostSource(MemoryManager, source);
    ScopedHostString hostDescription(MemoryManager, description);
    host::AddError(Connection, code, hostSource.get(), hostDescription.get(), status);
    return true;
}

bool TNativeComponent::ExternalEvent(const std::u16string& source, const std::u16string& message,
                                     const std::u16string& data) {
    if (Connection == nullptr) return true;
    ScopedHostString hostSource(MemoryManager, source);
    ScopedHostString hostMessage(MemoryManager, message);
    ScopedHostString hostData(MemoryManager, data);
    host::SetEventBufferDepth(Connection, 100);
    host::ExternalEvent(Connection, hostSource.get(), hostMessage.get(), hostData.get());
    return true;
}

bool TNativeComponent::SetEventBufferDepth(long depth) {
    if (Connection != nullptr) host::SetEventBufferDepth(Connection, depth);
    return true;
}

long TNativeComponent::GetEventBufferDepth() {
    return Connection != nullptr ? host::GetEventBufferDepth(Connection) : 0;
}

void TNativeComponent::CleanEventBuffer() {
    if (Connection != nullptr) host::CleanEventBuffer(Connection);
}

bool TNativeComponent::SetStatusLine(const std::u16string& text) {
    if (Connection == nullptr) return true;
    ScopedHostString hostText(MemoryManager, text);
    host::SetStatusLine(Connection, hostText.get());
    return true;
}

void TNativeComponent::ResetStatusLine() {
    if (Connection != nullptr) host::ResetStatusLine(Connection);
}

bool TNativeComponent::RegisterProfileAs(const std::u16string& profileName) {
    if (Connection == nullptr) return true;
    ScopedHostString hostName(MemoryManager, profileName);
    host::RegisterProfileAs(Connection, hostName.get());
    return true;
}

bool TNativeComponent::Read(const std::u16string& key, Variant& value, long& errorCode,
                            std::u16string& errorDescription) {
    if (Connection == nullptr) return true;
    ScopedHostString hostKey(MemoryManager, key);
    ScopedHostValue record(MemoryManager);
    WCHAR_T* description = nullptr;
    host::Read(Connection, hostKey.get(), record.get(), &errorCode, &description);
    errorDescription = ReadHostString(description);
    value = HostToVariant(*record.get());
    return true;
}

bool TNativeComponent::Write(const std::u16string& key, const Variant& value) {
    if (Connection == nullptr) return true;
    ScopedHostString hostKey(MemoryManager, key);
    ScopedHostValue record(MemoryManager);
    VariantToHost(MemoryManager, value, *record.get());
    host::Write(Connection, hostKey.get(), record.get());
    return true;
}

void TNativeComponent::Alert(const std::u16string& text) {
    if (Connection == nullptr) return;
    void* messageBox = host::GetInterface(Connection, host::Service::MessageBox);
    if (messageBox == nullptr) return;
    ScopedHostString hostText(MemoryManager, text);
    host::Alert(messageBox, hostText.get());
}

bool TNativeComponent::Confirm(const std::u16string& text) {
    if (Connection == nullptr) return false;
    void* messageBox = host::GetInterface(Connection, host::Service::MessageBox);
    if (messageBox == nullptr) return false;
    ScopedHostString hostText(MemoryManager, text);
    ScopedHostValue answer(MemoryManager);
    host::Confirm(messageBox, hostText.get(), answer.get());
    return HostBool(*answer.get());
}

RPlatformInfo TNativeComponent::PlatformInfo() {
    RPlatformInfo info;
    if (Connection == nullptr) return info;
    void* service = host::GetInterface(Connection, host::Service::PlatformInfo);
    const host::AppInfo* record = service != nullptr ? host::GetPlatformInfo(service) : nullptr;
    if (record == nullptr) return info;
    info.AppVersion = record->AppVersion;
    info.UserAgentInformation = record->UserAgentInformation;
    info.Application = static_cast<int8_t>(record->Application);
    return info;
}

WCHAR_T* TNativeComponent::_ToWChar_T(const std::u16string& text) const { return NewHostString(text); }

void TNativeComponent::DisposeWChar_T(WCHAR_T* address) const { ReleaseHostString(MemoryManager, address); }

}  // namespace cf
