// Used only while the library's log writer is not part of the build.
#include "device/uDevice.h"

namespace device {

TExchangeLog LibraryExchangeLog() { return {}; }

}  // namespace device
