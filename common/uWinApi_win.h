// What the Windows files share: the library's own module, and text for the
// system's wide-character functions.
#pragma once

#include <windows.h>

#include <string>

namespace common {

// The library's own module, not the host process's.
HMODULE OwnModule();

// Windows' wide characters are UTF-16 code units: the text passes as it is.
// Zero-terminated, valid while the text lives.
inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

}  // namespace common
