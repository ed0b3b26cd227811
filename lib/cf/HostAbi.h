// The binary contract with the platform: value record, host string unit,
// calling convention and table geometry per target. Everything that differs
// between Windows x86, Windows x64 and Linux x86_64 is decided here.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define ADDIN_API __stdcall
// A Microsoft compiler's member functions: the object in ECX, the callee removes the rest.
#define ADDIN_THISCALL __attribute__((thiscall))
#else
#define ADDIN_API
#define ADDIN_THISCALL
#endif

#if defined(_WIN32)
#define ADDIN_EXPORT extern "C" __declspec(dllexport)
#else
#define ADDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Host string code unit: always two bytes, never wchar_t (four bytes on Linux).
using WCHAR_T = char16_t;

namespace cf::abi {

#if defined(__linux__)
// The Itanium C++ ABI puts a complete and a deleting destructor first.
inline constexpr int kDtorSlots = 2;
// GetInterface answers the service object itself.
inline constexpr std::ptrdiff_t kServiceStep = 0;
#else
inline constexpr int kDtorSlots = 1;
// GetInterface answers the address one word past the service object.
inline constexpr std::ptrdiff_t kServiceStep = -static_cast<std::ptrdiff_t>(sizeof(void*));
#endif

// Broken-down time as the platform's C library lays it out.
struct HostTm {
    int tm_sec;
    int tm_min;
    int tm_hour;
    int tm_mday;
    int tm_mon;
    int tm_year;
    int tm_wday;
    int tm_yday;
    int tm_isdst;
#if defined(__linux__)
    long tm_gmtoff;
    const char* tm_zone;
#endif
};

#if defined(__linux__)
inline constexpr std::size_t kVariantUnionSize = 56;
#else
inline constexpr std::size_t kVariantUnionSize = 40;
#endif

}  // namespace cf::abi

// Host value type codes used by the component.
enum HostVarType : uint16_t {
    VTYPE_EMPTY = 0,
    VTYPE_NULL = 1,
    VTYPE_I2 = 2,
    VTYPE_I4 = 3,
    VTYPE_R4 = 4,
    VTYPE_R8 = 5,
    VTYPE_DATE = 6,
    VTYPE_TM = 7,
    VTYPE_PSTR = 8,
    VTYPE_INTERFACE = 9,
    VTYPE_ERROR = 10,
    VTYPE_BOOL = 11,
    VTYPE_I8 = 17,
    VTYPE_PWSTR = 22,
    VTYPE_BLOB = 23,
};

// The platform's value record.
struct tVariant {
    union {
        int32_t intVal;
        double dblVal;
        double date;
        cf::abi::HostTm tmVal;
        bool bVal;
        int64_t llVal;
        struct {
            WCHAR_T* pwstrVal;
            uint32_t wstrLen;
        };
        struct {
            char* pstrVal;
            uint32_t strLen;
        };
        unsigned char raw[cf::abi::kVariantUnionSize];
    };
    uint32_t cbElements;
    uint16_t vt;
};

// Layout facts the platform relies on, per target.
#if defined(__linux__)
static_assert(sizeof(void*) == 8 && sizeof(long) == 8);
static_assert(sizeof(cf::abi::HostTm) == 56);
static_assert(sizeof(tVariant) == 64);
static_assert(offsetof(tVariant, cbElements) == 56);
static_assert(offsetof(tVariant, vt) == 60);
static_assert(offsetof(tVariant, wstrLen) == 8 && offsetof(tVariant, strLen) == 8);
#elif defined(_WIN64)
static_assert(sizeof(void*) == 8 && sizeof(long) == 4);
static_assert(sizeof(cf::abi::HostTm) == 36);
static_assert(sizeof(tVariant) == 48);
static_assert(offsetof(tVariant, cbElements) == 40);
static_assert(offsetof(tVariant, vt) == 44);
static_assert(offsetof(tVariant, wstrLen) == 8 && offsetof(tVariant, strLen) == 8);
#else
static_assert(sizeof(void*) == 4 && sizeof(long) == 4);
static_assert(sizeof(cf::abi::HostTm) == 36);
static_assert(sizeof(tVariant) == 48);
static_assert(offsetof(tVariant, cbElements) == 40);
static_assert(offsetof(tVariant, vt) == 44);
static_assert(offsetof(tVariant, wstrLen) == 4 && offsetof(tVariant, strLen) == 4);
#endif
static_assert(sizeof(WCHAR_T) == 2);
