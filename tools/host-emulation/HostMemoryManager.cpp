#include "tools/host-emulation/HostMemoryManager.h"

#include <cstdlib>
#include <cstring>

#include "lib/cf/HostAbi.h"
#include "tools/host-emulation/HostAbiSlots.h"

namespace host_emulation {

struct MemoryManagerSlots {
    static void ADDIN_API Destructor(void*) {}
    static bool ADDIN_API AllocMem(void* self, void** block, unsigned long size) {
        *block = HostMemoryManager::Self(self)->Alloc(size);
        return *block != nullptr;
    }
    static void ADDIN_API FreeMem(void* self, void** block) {
        HostMemoryManager::Self(self)->Free(*block);
        *block = nullptr;
    }
};

HostMemoryManager::HostMemoryManager() {
    for (int i = 0; i < kDtorSlots; ++i) slots_.push_back(reinterpret_cast<const void*>(&MemoryManagerSlots::Destructor));
    slots_.push_back(reinterpret_cast<const void*>(&MemoryManagerSlots::AllocMem));
    slots_.push_back(reinterpret_cast<const void*>(&MemoryManagerSlots::FreeMem));
    object_ = Object{slots_.data(), this};
}

HostMemoryManager::~HostMemoryManager() {
    for (auto& [block, size] : live_) std::free(const_cast<void*>(block));
}

HostMemoryManager* HostMemoryManager::Self(void* object) {
    return static_cast<Object*>(object)->owner;
}

void* HostMemoryManager::Alloc(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    std::memset(block, kFillPattern, size == 0 ? 1 : size);
    live_[block] = size;
    freed_.erase(block);
    ++allocations_;
    return block;
}

void HostMemoryManager::Free(void* block) {
    if (block == nullptr) return;
    auto it = live_.find(block);
    if (it == live_.end()) {
        errors_.push_back(freed_.count(block) ? "double free" : "free of an unknown block");
        return;
    }
    live_.erase(it);
    freed_.insert(block);
    ++frees_;
    std::free(block);
}

std::size_t HostMemoryManager::LiveBytes() const {
    std::size_t total = 0;
    for (const auto& [block, size] : live_) total += size;
    return total;
}

std::size_t HostMemoryManager::BlockSize(const void* block) const {
    auto it = live_.find(block);
    return it == live_.end() ? 0 : it->second;
}

}  // namespace host_emulation
