#include <cerrno>
#include <cstring>

#include "common/uSysError.h"
#include "lib/cf/TextUtils.h"

namespace common {

int LastOSError() { return errno; }

std::u16string SysErrorMessage(int code) {
    char buffer[256] = {};
    // The GNU strerror_r answers its own text or the buffer.
    const char* text = strerror_r(code, buffer, sizeof(buffer));
    return cf::FromUtf8(text != nullptr ? text : "");
}

}  // namespace common
