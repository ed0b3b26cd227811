// The object the platform receives for a component: four interface-table
// pointers, the component four words after each, and the component again
// for DestroyObject. Every entry point finds its component four words past
// the table pointer it was called through.
#pragma once

#include <cstddef>

#include "lib/cf/AddInLib2000.h"

namespace cf {

struct TObjectHeader {
    const void* const* Object[4];
    TCustomNativeComponent* SelfN[4];
    TCustomNativeComponent* Self;
};

static_assert(offsetof(TObjectHeader, SelfN) == 4 * sizeof(void*));
static_assert(offsetof(TObjectHeader, Self) == 8 * sizeof(void*));

// A header for the component, with all four tables set.
TObjectHeader* NewObjectHeader(TCustomNativeComponent* component);
void FreeObjectHeader(TObjectHeader* header);

}  // namespace cf
