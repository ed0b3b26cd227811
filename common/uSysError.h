// The system's error codes and their texts.
#pragma once

#include <string>

namespace common {

// The calling thread's last system error (GetLastError on Windows, errno elsewhere).
int LastOSError();
// The system's text for an error code, without trailing line breaks.
std::u16string SysErrorMessage(int code);
// Raises cf::Exception "Системная ошибка. Код: N. <system text>".
[[noreturn]] void RaiseOSError(int code);

}  // namespace common
