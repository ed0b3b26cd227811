// How a C++ host destroys a component through one of its interface pointers,
// the way its compiler calls the virtual destructor on this target.
#pragma once

namespace host_emulation {

// `delete` through the interface: the object is freed.
void DeleteThroughInterface(void* interface);
// An explicit destructor call through the interface, which frees nothing.
void DestroyThroughInterface(void* interface);

}  // namespace host_emulation
