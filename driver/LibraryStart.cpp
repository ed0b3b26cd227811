// The driver library's load and unload steps.
#include "common/Common.Log.h"
#include "device/uTCPSocket.h"
#include "driver/uDriver.h"
#include "lib/cf/ClassRegistry.h"
#include "lib/cf/LibraryLifetime.h"
#include "resources/Resources.h"

namespace cf {

void LibraryStart() {
    // Sockets first: a driver object may connect as soon as it exists.
    try {
        device::SocketsStart();
    } catch (...) {
        // Without sockets every connection reports its own failure; the
        // driver still describes itself and takes its settings.
    }
    common::SetLogFolder(common::StartupLogFolder(driver::kDriverClassName));
    const std::u16string description = resources::LoadStringResource(resources::kDriverDescription);
    driver::GetDriverInfo<driver::TDriver>(driver::kDriverClassName, description);
    RegisterComponentClass<driver::TDriver>();
}

void LibraryStop() {
    common::LogModuleStop();
    device::SocketsStop();
}

}  // namespace cf
