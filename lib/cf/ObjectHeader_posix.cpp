#include "lib/cf/ObjectHeader.h"

namespace cf {

namespace {

// The Itanium C++ ABI begins each table with two destructors. The
// complete-object one destroys without freeing: nothing to do, since only
// the library frees its objects. The deleting one frees; each table has its
// own, which knows the table's place in the header.
void CompleteObjectDestructor(void*) {}

template <int Table>
void DeletingDestructor(void* self) {
    DeleteThroughTable(self, Table);
}

}  // namespace

std::vector<const void*> DestructorSlots(int tableIndex) {
    static_assert(kInterfaceTables == 4);
    static const void* const deleting[] = {
        reinterpret_cast<const void*>(&DeletingDestructor<0>), reinterpret_cast<const void*>(&DeletingDestructor<1>),
        reinterpret_cast<const void*>(&DeletingDestructor<2>), reinterpret_cast<const void*>(&DeletingDestructor<3>)};
    return {reinterpret_cast<const void*>(&CompleteObjectDestructor), deleting[tableIndex]};
}

}  // namespace cf
