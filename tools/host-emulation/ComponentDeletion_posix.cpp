#include "tools/host-emulation/ComponentDeletion.h"

namespace host_emulation {

namespace {

// The Itanium C++ ABI starts each table with the complete-object destructor
// and the deleting destructor; both take only the object.
using Destructor = void (*)(void*);
constexpr int kCompleteObjectSlot = 0;
constexpr int kDeletingSlot = 1;

Destructor SlotOf(void* interface, int slot) {
    return reinterpret_cast<Destructor>((*static_cast<void***>(interface))[slot]);
}

}  // namespace

void DeleteThroughInterface(void* interface) { SlotOf(interface, kDeletingSlot)(interface); }

void DestroyThroughInterface(void* interface) { SlotOf(interface, kCompleteObjectSlot)(interface); }

}  // namespace host_emulation
