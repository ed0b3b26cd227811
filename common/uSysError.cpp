#include "common/uSysError.h"

#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace common {

void RaiseOSError(int code) {
    throw cf::Exception(u"Системная ошибка. Код: " + cf::IntToStr(code) + u". " + SysErrorMessage(code));
}

}  // namespace common
