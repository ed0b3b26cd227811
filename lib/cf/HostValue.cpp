#include "lib/cf/HostValue.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "lib/cf/DateTime.h"
#include "lib/cf/Exception.h"
#include "lib/cf/HostCalls.h"

namespace cf {

namespace {

void* AllocateBlock(void* memoryManager, std::size_t size) {
    void* block = nullptr;
    if (memoryManager != nullptr)
        host::AllocMem(memoryManager, &block, static_cast<unsigned long>(size));
    else
        block = std::malloc(size);
    if (block == nullptr) throw Exception(u"Недостаточно памяти для передачи значения");
    return block;
}

void FreeBlock(void* memoryManager, void** block) {
    if (*block == nullptr) return;
    if (memoryManager != nullptr)
        host::FreeMem(memoryManager, block);
    else
        std::free(*block);
    *block = nullptr;
}

Variant DateFromTm(const abi::HostTm& tm) { return Variant::MakeDate(EncodeDateTime(PartsFromTm(tm))); }

void StoreBlob(void* memoryManager, const Variant& array, tVariant& target) {
    if (array.ElementKind() != VarKind::UInt8) throw Exception(u"Неподдерживаемый тип массива.");
    if (memoryManager == nullptr) throw Exception(u"Двоичные данные нельзя передать без менеджера памяти платформы");
    // Bounds 0..n give n bytes: a blob that came from the platform goes back unchanged.
    const int64_t upper = array.UpperBound();
    const std::size_t count = upper > 0 ? static_cast<std::size_t>(upper) : 0;
    if (count > 0) {
        void* block = AllocateBlock(memoryManager, count);
        std::memcpy(block, array.Bytes().data(), count);
        target.pstrVal = static_cast<char*>(block);
    }
    target.strLen = static_cast<uint32_t>(count);
    target.vt = VTYPE_BLOB;
}

}  // namespace

bool HostBool(const tVariant& value) {
    // The platform may store any byte there; reading it as a C++ bool is
    // undefined for anything but 0 and 1.
    unsigned char byte = 0;
    std::memcpy(&byte, &value.bVal, 1);
    return byte != 0;
}

std::u16string ReadHostString(const WCHAR_T* address) {
    if (address == nullptr) return {};
    return std::u16string(address);
}

void CopyToHostString(void* memoryManager, std::u16string_view text, WCHAR_T*& address) {
    if (address == nullptr) {
        const std::size_t bytes = (text.size() + 1) * sizeof(WCHAR_T);
        void* block = AllocateBlock(memoryManager, bytes);
        std::memset(block, 0, bytes);
        address = static_cast<WCHAR_T*>(block);
    }
    std::memcpy(address, text.data(), text.size() * sizeof(WCHAR_T));
}

void ReleaseHostString(void* memoryManager, WCHAR_T*& address) {
    void* block = address;
    FreeBlock(memoryManager, &block);
    address = nullptr;
}

ScopedHostString::ScopedHostString(void* memoryManager, std::u16string_view text) : memoryManager_(memoryManager) {
    CopyToHostString(memoryManager_, text, address_);
}

ScopedHostString::~ScopedHostString() { ReleaseHostString(memoryManager_, address_); }

Variant HostToVariant(const tVariant& value) {
    switch (value.vt) {
        case VTYPE_EMPTY:
            return {};
        case VTYPE_I4:
            return Variant(value.intVal);
        case VTYPE_R8:
            return Variant(value.dblVal);
        case VTYPE_TM:
            return DateFromTm(value.tmVal);
        case VTYPE_BOOL:
            return Variant(HostBool(value));
        case VTYPE_PWSTR:
            return Variant(ReadHostString(value.pwstrVal));
        case VTYPE_BLOB: {
            // Bounds 0..strLen: one element more than the blob, the last one 0.
            std::vector<uint8_t> bytes(static_cast<std::size_t>(value.strLen) + 1, 0);
            if (value.strLen > 0 && value.pstrVal != nullptr) std::memcpy(bytes.data(), value.pstrVal, value.strLen);
            return Variant::MakeByteArray(std::move(bytes));
        }
        default:
            throw Exception(u"Неподдерживаемый тип данных");
    }
}

void VariantToHost(void* memoryManager, const Variant& value, tVariant& target) {
    if (target.vt == VTYPE_PWSTR && target.pwstrVal != nullptr) ReleaseHostString(memoryManager, target.pwstrVal);
    if (target.vt == VTYPE_BLOB && target.pstrVal != nullptr) {
        void* block = target.pstrVal;
        FreeBlock(memoryManager, &block);
        target.pstrVal = nullptr;
    }
    std::memset(static_cast<void*>(&target), 0, sizeof(target));

    if (value.IsOrdinal()) {
        const int64_t number = value.IntegerValue();
        const bool unsignedKind = value.Kind() == VarKind::UInt64;
        const double magnitude = unsignedKind ? static_cast<double>(static_cast<uint64_t>(number))
                                              : std::fabs(static_cast<double>(number));
        if (magnitude < 2147483647.0) {
            target.intVal = static_cast<int32_t>(number);
            target.vt = VTYPE_I4;
        } else {
            target.llVal = number;
            target.vt = VTYPE_I8;
        }
    }
    if (value.IsFloating()) {
        target.dblVal = value.FloatValue();
        target.vt = VTYPE_R8;
    }
    if (value.Kind() == VarKind::Date) {
        target.date = value.FloatValue();
        target.vt = VTYPE_DATE;
    }
    if (value.IsString()) {
        CopyToHostString(memoryManager, value.StringValue(), target.pwstrVal);
        target.wstrLen = static_cast<uint32_t>(value.StringValue().size());
        target.vt = VTYPE_PWSTR;
    }
    if (value.Kind() == VarKind::Bool) {
        target.llVal = 0;
        target.bVal = value.BoolValue();
        target.vt = VTYPE_BOOL;
    }
    if (value.IsArray()) StoreBlob(memoryManager, value, target);
}

}  // namespace cf
