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
