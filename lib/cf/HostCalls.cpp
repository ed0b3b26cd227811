#include "lib/cf/HostCalls.h"

namespace cf::host {

bool AllocMem(void* memoryManager, void** block, unsigned long size) {
    return CallSlot<bool>(memoryManager, kAllocMemSlot, block, size);
}

void FreeMem(void* memoryManager, void** block) { CallSlot<void>(memoryManager, kFreeMemSlot, block); }

bool AddError(void* connection, unsigned short code, const WCHAR_T* source, const WCHAR_T* description, long status) {
    return CallSlot<bool>(connection, kAddError, code, source, description, status);
}

}  // namespace cf::host

namespace cf::host {

bool Read(void* connection, const WCHAR_T* key, tVariant* value, long* errorCode, WCHAR_T** errorDescription) {
    return CallSlot<bool>(connection, kRead, key, value, errorCode, errorDescription);
}

bool Write(void* connection, const WCHAR_T* key, tVariant* value) {
    return CallSlot<bool>(connection, kWrite, key, value);
}

bool RegisterProfileAs(void* connection, const WCHAR_T* profileName) {
    return CallSlot<bool>(connection, kRegisterProfileAs, profileName);
}

bool SetEventBufferDepth(void* connection, long depth) {
    return CallSlot<bool>(connection, kSetEventBufferDepth, depth);
}

long GetEventBufferDepth(void* connection) { return CallSlot<long>(connection, kGetEventBufferDepth); }

bool ExternalEvent(void* connection, const WCHAR_T* source, const WCHAR_T* message, const WCHAR_T* data) {
    return CallSlot<bool>(connection, kExternalEvent, source, message, data);
}

void CleanEventBuffer(void* connection) { CallSlot<void>(connection, kCleanEventBuffer); }

bool SetStatusLine(void* connection, const WCHAR_T* text) { return CallSlot<bool>(connection, kSetStatusLine, text); }

void ResetStatusLine(void* connection) { CallSlot<void>(connection, kResetStatusLine); }

void* GetInterface(void* connection, Service service) {
    void* answer = CallSlot<void*>(connection, kGetInterface, static_cast<int32_t>(service));
    if (answer == nullptr) return nullptr;
    return static_cast<char*>(answer) + abi::kServiceStep;
}

bool Confirm(void* messageBox, const WCHAR_T* question, tVariant* answer) {
    return CallSlot<bool>(messageBox, 0, question, answer);
}

bool Alert(void* messageBox, const WCHAR_T* text) { return CallSlot<bool>(messageBox, 1, text); }

const AppInfo* GetPlatformInfo(void* platformInfo) { return CallSlot<const AppInfo*>(platformInfo, 0); }

}  // namespace cf::host
