// The platform's view of the binary contract, written down independently of
// the library's own headers so that a wrong layout in the library fails the
// tests instead of agreeing with them.
#pragma once

#include <cstddef>

namespace host_emulation {

#if defined(__linux__)
inline constexpr int kDtorSlots = 2;
#else
inline constexpr int kDtorSlots = 1;
#endif

// The component's entry points, numbered as on 32-bit Windows: three tables
// of 5, 17 and 3 entries, each beginning with one destructor slot.
enum Procs : int {
    kInit = 1, kSetMemManager, kGetInfo, kDone,
    kRegisterExtensionAs = 6, kGetNProps, kFindProp, kGetPropName, kGetPropValue, kSetPropValue,
    kIsPropReadable, kIsPropWritable, kGetNMethods, kFindMethod, kGetMethodName, kGetNParams,
    kGetParamDefValue, kHasRetVal, kCallAsProc, kCallAsFunc,
    kSetLocale = 23,
};

struct SlotLocation {
    int table;  // which table pointer of the object (0, 1 or 2)
    int slot;   // index inside that table
};

// Where a Procs entry lives on this target: extra destructor slots move
// every later index of its table up.
constexpr SlotLocation Locate(Procs entry) {
    const int starts[] = {0, 5, 22};
    int table = entry >= 22 ? 2 : entry >= 5 ? 1 : 0;
    return SlotLocation{table, entry - starts[table] + (kDtorSlots - 1)};
}

// The fourth table: destructor slot(s), then SetUserInterfaceLanguageCode.
inline constexpr int kSetUserInterfaceLanguageCodeSlot = kDtorSlots;

// Memory manager and connection slots.
inline constexpr int kAllocMemSlot = kDtorSlots;
inline constexpr int kFreeMemSlot = kDtorSlots + 1;
inline constexpr int kConnectionFirstSlot = kDtorSlots;  // AddError; GetInterface is 10 further on

// Word offset of each component's pointer after its table pointer.
inline constexpr int kSelfOffsetWords = 4;

}  // namespace host_emulation
