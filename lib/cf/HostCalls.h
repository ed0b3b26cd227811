// Calls into the platform's objects through their function tables by slot
// index. The platform's interfaces are never declared as C++ classes: their
// table geometry differs from what a C++ compiler would lay out on some
// targets (see HostAbi.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "lib/cf/HostAbi.h"

namespace cf::host {

// Slot numbers inside the memory manager's table.
inline constexpr int kAllocMemSlot = abi::kDtorSlots + 0;
inline constexpr int kFreeMemSlot = abi::kDtorSlots + 1;

// Slot numbers inside the connection's table.
enum ConnectionSlot : int {
    kAddError = abi::kDtorSlots + 0,
    kRead,
    kWrite,
    kRegisterProfileAs,
    kSetEventBufferDepth,
    kGetEventBufferDepth,
    kExternalEvent,
    kCleanEventBuffer,
    kSetStatusLine,
    kResetStatusLine,
    kGetInterface,
};

template <typename R, typename... Args>
R CallSlot(void* object, int slot, Args... args) {
    using Fn = R(ADDIN_API*)(void*, Args...);
    void** table = *static_cast<void***>(object);
    return reinterpret_cast<Fn>(table[slot])(object, args...);
}

// Memory manager.
bool AllocMem(void* memoryManager, void** block, unsigned long size);
void FreeMem(void* memoryManager, void** block);

// Connection: the error report used by the call shields.
bool AddError(void* connection, unsigned short code, const WCHAR_T* source, const WCHAR_T* description, long status);

// Connection: the platform's other services.
bool Read(void* connection, const WCHAR_T* key, tVariant* value, long* errorCode, WCHAR_T** errorDescription);
bool Write(void* connection, const WCHAR_T* key, tVariant* value);
bool RegisterProfileAs(void* connection, const WCHAR_T* profileName);
bool SetEventBufferDepth(void* connection, long depth);
long GetEventBufferDepth(void* connection);
bool ExternalEvent(void* connection, const WCHAR_T* source, const WCHAR_T* message, const WCHAR_T* data);
void CleanEventBuffer(void* connection);
bool SetStatusLine(void* connection, const WCHAR_T* text);
void ResetStatusLine(void* connection);

// Services the connection hands out, by selector.
enum class Service : int32_t { MessageBox = 0, PlatformInfo = 1 };
// The service object itself (its first word is its table), or null.
void* GetInterface(void* connection, Service service);

// Message box: Confirm at slot 0, Alert at slot 1; neither table has a destructor slot.
bool Confirm(void* messageBox, const WCHAR_T* question, tVariant* answer);
bool Alert(void* messageBox, const WCHAR_T* text);

// Platform information as the platform lays it out.
struct AppInfo {
    const WCHAR_T* AppVersion;
    const WCHAR_T* UserAgentInformation;
    int32_t Application;  // -1: unknown
};
static_assert(offsetof(AppInfo, UserAgentInformation) == sizeof(void*));
static_assert(offsetof(AppInfo, Application) == 2 * sizeof(void*));
const AppInfo* GetPlatformInfo(void* platformInfo);

}  // namespace cf::host
