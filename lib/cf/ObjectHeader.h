// The object the platform receives for a component: four interface-table
// pointers, the component four words after each, and the component again
// for DestroyObject. Every entry point finds its component four words past
// the table pointer it was called through.
#pragma once

#include <cstddef>
#include <vector>

#include "lib/cf/AddInLib2000.h"

namespace cf {

inline constexpr int kInterfaceTables = 4;

struct TObjectHeader {
    const void* const* Object[kInterfaceTables];
    TCustomNativeComponent* SelfN[kInterfaceTables];
    TCustomNativeComponent* Self;
};

static_assert(offsetof(TObjectHeader, SelfN) == 4 * sizeof(void*));
static_assert(offsetof(TObjectHeader, Self) == 8 * sizeof(void*));

// A header for the component, with all four tables set.
TObjectHeader* NewObjectHeader(TCustomNativeComponent* component);
// Destroys the component (its destruction steps first) and frees the header.
void DestroyObjectHeader(TObjectHeader* header) noexcept;

// A C++ host deletes the object through the destructor slot of any of its
// tables: `tablePointer` is the address of table `tableIndex`'s pointer.
void DeleteThroughTable(void* tablePointer, int tableIndex) noexcept;
// The destructor slots that begin table `tableIndex`, called the way this
// target's C++ compilers call a virtual destructor.
std::vector<const void*> DestructorSlots(int tableIndex);

}  // namespace cf
