#include <cstdint>
#include <stdexcept>

#include "tools/host-emulation/ComponentDeletion.h"

namespace host_emulation {

namespace {

// A Microsoft compiler puts one destructor in each table, the scalar deleting
// destructor: it frees the object when bit 0 of its flags is set.
constexpr unsigned kFreeMemory = 1;

void* SlotOf(void* interface) { return (*static_cast<void***>(interface))[0]; }

#if defined(_WIN64)

// x64: the object in RCX, the flags in EDX.
void* CallScalarDeletingDestructor(void* interface, unsigned flags) {
    using Destructor = void* (*)(void*, unsigned);
    return reinterpret_cast<Destructor>(SlotOf(interface))(interface, flags);
}

#else

// thiscall: the object in ECX, the flags on the stack, removed by the callee.
// The stack pointer is compared around the call, so a slot that leaves its
// argument behind (or takes more) fails here instead of corrupting the caller.
void* CallScalarDeletingDestructor(void* interface, unsigned flags) {
    void* result = nullptr;
    uint32_t leftOnStack = 0;
    void* slot = SlotOf(interface);
    __asm__ volatile(
        "movl %%esp, %%esi\n\t"
        "pushl %[flags]\n\t"
        "call *%[slot]\n\t"
        "movl %%esi, %%edx\n\t"
        "subl %%esp, %%edx\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(result), "=d"(leftOnStack), "+c"(interface)
        : [flags] "D"(flags), [slot] "b"(slot)
        : "esi", "memory", "cc");
    if (leftOnStack != 0) throw std::runtime_error("the destructor slot did not remove exactly its one stack argument");
    return result;
}

#endif

}  // namespace

void DeleteThroughInterface(void* interface) { CallScalarDeletingDestructor(interface, kFreeMemory); }

void DestroyThroughInterface(void* interface) { CallScalarDeletingDestructor(interface, 0); }

}  // namespace host_emulation
