#include <windows.h>

#include "common/uSysError.h"
#include "lib/cf/TextUtils.h"

namespace common {

int LastOSError() { return static_cast<int>(GetLastError()); }

std::u16string SysErrorMessage(int code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (length > 0 && buffer != nullptr) text.assign(reinterpret_cast<const char16_t*>(buffer), length);
    if (buffer != nullptr) LocalFree(buffer);
    text = cf::Trim(text);
    return text.empty() ? u"Код ошибки " + cf::IntToStr(code) : text;
}

}  // namespace common
