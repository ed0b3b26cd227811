#include <sys/stat.h>

#include "common/Common.BaseSecurity.h"
#include "lib/cf/TextUtils.h"

namespace common {

// Read, write and enter for everyone, whatever the process's umask took away;
// like the Windows entry, a failure to store the mode is ignored.
void GrantEveryoneFullAccess(const std::u16string& path) {
    chmod(cf::ToUtf8(path).c_str(), 0777);
}

}  // namespace common
