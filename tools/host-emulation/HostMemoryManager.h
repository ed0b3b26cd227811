// The platform's memory manager as the component sees it: an object whose
// first word is a raw function table. It counts live blocks and bytes, fills
// new blocks with a non-zero pattern so that a missing terminator shows, and
// records double and unknown frees. It counts every allocation and free, so a
// test sees what a call did to platform memory.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace host_emulation {

class HostMemoryManager {
public:
    static constexpr unsigned char kFillPattern = 0xCD;

    HostMemoryManager();
    ~HostMemoryManager();
    HostMemoryManager(const HostMemoryManager&) = delete;
    HostMemoryManager& operator=(const HostMemoryManager&) = delete;

    // The address the component receives in setMemManager.
    void* Interface() { return &object_; }

    void* Alloc(std::size_t size);
    void Free(void* block);

    std::size_t LiveBlocks() const { return live_.size(); }
    std::size_t LiveBytes() const;
    std::size_t BlockSize(const void* block) const;
    std::size_t Allocations() const { return allocations_; }
    std::size_t Frees() const { return frees_; }
    const std::vector<std::string>& Errors() const { return errors_; }

private:
    static HostMemoryManager* Self(void* object);

    // What the component holds: a table pointer first, then our way back.
    struct Object {
        const void* const* table;
        HostMemoryManager* owner;
    } object_{};
    std::vector<const void*> slots_;
    std::map<const void*, std::size_t> live_;
    std::set<const void*> freed_;
    std::vector<std::string> errors_;
    std::size_t allocations_ = 0;
    std::size_t frees_ = 0;

    friend struct MemoryManagerSlots;
};

}  // namespace host_emulation
