#include <windows.h>

#include <vector>

#include "common/uVInfo.h"

namespace common {

TVersionNumbers GetFileVersionNumbers(const std::u16string& fileName) {
    TVersionNumbers version;
    const wchar_t* name = reinterpret_cast<const wchar_t*>(fileName.c_str());
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(name, &handle);
    if (size == 0) return version;
    std::vector<unsigned char> block(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoW(name, 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || fixed == nullptr ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return version;
    version.Major = HIWORD(fixed->dwFileVersionMS);
    version.Minor = LOWORD(fixed->dwFileVersionMS);
    version.Release = HIWORD(fixed->dwFileVersionLS);
    version.Build = LOWORD(fixed->dwFileVersionLS);
    return version;
}

}  // namespace common
