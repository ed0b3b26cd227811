#include "lib/cf/LibraryLifetime.h"

#include "lib/cf/ClassRegistry.h"

namespace {

// Constructed while the library loads and destroyed while it unloads; nothing
// thrown by a step may escape into the loader.
struct LibraryLifetime {
    LibraryLifetime() noexcept {
        try {
            cf::LibraryStart();
        } catch (...) {
        }
    }
    ~LibraryLifetime() {
        try {
            cf::LibraryStop();
        } catch (...) {
        }
        cf::ClearComponentClasses();
    }
};

const LibraryLifetime gLifetime;

}  // namespace
