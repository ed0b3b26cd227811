// Calls into the platform's objects through their function tables by slot
// index. The platform's interfaces are never declared as C++ classes: their
// table geometry differs from what a C++ compiler would lay out on some
// targets (see HostAbi.h).
#pragma once

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

}  // namespace cf::host
