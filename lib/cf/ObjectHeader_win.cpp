#include "lib/cf/ObjectHeader.h"

namespace cf {

namespace {

// A Microsoft compiler begins each table with one destructor, the scalar
// deleting destructor: it frees the object when bit 0 of its flags is set
// and answers the object's address. Each table has its own, which knows the
// table's place in the header.
constexpr unsigned kFreeMemory = 1;

template <int Table>
void* ADDIN_THISCALL ScalarDeletingDestructor(void* self, unsigned flags) {
    if (flags & kFreeMemory) DeleteThroughTable(self, Table);
    return self;
}

}  // namespace

std::vector<const void*> DestructorSlots(int tableIndex) {
    static_assert(kInterfaceTables == 4);
    static const void* const slots[] = {reinterpret_cast<const void*>(&ScalarDeletingDestructor<0>),
                                        reinterpret_cast<const void*>(&ScalarDeletingDestructor<1>),
                                        reinterpret_cast<const void*>(&ScalarDeletingDestructor<2>),
                                        reinterpret_cast<const void*>(&ScalarDeletingDestructor<3>)};
    return {slots[tableIndex]};
}

}  // namespace cf
