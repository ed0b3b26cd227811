// Values and strings crossing between the platform and the component.
// Strings and blobs handed to the platform are allocated through its memory
// manager and then belong to it; strings passed in are copied, never kept.
#pragma once

#include <string>
#include <string_view>

#include "lib/cf/HostAbi.h"
#include "lib/cf/Variant.h"

namespace cf {

// Reads up to the first zero; a null address gives the empty text.
std::u16string ReadHostString(const WCHAR_T* address);

// With a null address: allocates (length + 1) * 2 zero-filled bytes through the
// memory manager (the library's heap when there is none) and stores the block's
// address. Copies the text's code units into the block.
void CopyToHostString(void* memoryManager, std::u16string_view text, WCHAR_T*& address);

// Frees a string made by CopyToHostString and sets the address to null.
void ReleaseHostString(void* memoryManager, WCHAR_T*& address);

// A host string that lives for one call into the platform.
class ScopedHostString {
public:
    ScopedHostString(void* memoryManager, std::u16string_view text);
    ~ScopedHostString();
    ScopedHostString(const ScopedHostString&) = delete;
    ScopedHostString& operator=(const ScopedHostString&) = delete;
    const WCHAR_T* get() const { return address_; }

private:
    void* memoryManager_;
    WCHAR_T* address_ = nullptr;
};

// Raises "Неподдерживаемый тип данных" for type codes the component does not take.
Variant HostToVariant(const tVariant& value);
// A Boolean record's byte: anything but 0 is true.
bool HostBool(const tVariant& value);

// Releases what the target held, then stores the value. On failure the target is left empty.
void VariantToHost(void* memoryManager, const Variant& value, tVariant& target);

}  // namespace cf
