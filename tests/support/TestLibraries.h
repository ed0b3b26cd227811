// The libraries the tests load, beside the test programs.
#pragma once

#include <string>

#include "tools/host-emulation/LibraryLoader.h"

namespace host_emulation {

// The frame's test build, with test components in place of the driver.
inline std::string TestFrameLibraryPath() { return ExecutableFolder() + WQ_TESTFRAME_LIBRARY; }
// The driver library itself.
inline std::string DriverLibraryPath() { return ExecutableFolder() + WQ_DRIVER_LIBRARY; }

}  // namespace host_emulation
