#include <sys/stat.h>

#include "common/Common.BaseSecurity.h"
#include "lib/cf/TextUtils.h"

namespace common {

// Read, write and enter for everyone, whatever the process's umask took away,
// with the sticky bit: every user may add a log file, but only a file's owner
// may remove or rename it, so no one can swap another user's log for a link.
// Like the Windows entry, a failure to store the mode is ignored.
void GrantEveryoneFullAccess(const std::u16string& path) {
    chmod(cf::ToUtf8(path).c_str(), 01777);
}

}  // namespace common
