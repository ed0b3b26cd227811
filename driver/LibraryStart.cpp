// The driver library's load and unload steps.
#include "common/Common.Log.h"
#include "device/uTCPSocket.h"
#include "driver/uDriver.h"
#include "lib/cf/ClassRegistry.h"
#include "lib/cf/LibraryLifetime.h"
#include "resources/Resources.h"

namespace cf {

namespace {

template <typename F>
void StepThatMayFail(F&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

// Nothing but the class registration may stop the start: without sockets
// every connection reports its own failure, and without a log folder every
// line fails on its own, while the driver still describes itself, takes its
// settings and works.
void LibraryStart() {
    // Sockets first: a driver object may connect as soon as it exists.
    StepThatMayFail([] { device::SocketsStart(); });
    StepThatMayFail([] { common::SetLogFolder(common::StartupLogFolder(driver::kDriverClassName)); });
    StepThatMayFail([] {
        const std::u16string description = resources::LoadStringResource(resources::kDriverDescription);
        driver::GetDriverInfo<driver::TDriver>(driver::kDriverClassName, description);
    });
    RegisterComponentClass<driver::TDriver>();
}

void LibraryStop() {
    common::LogModuleStop();
    device::SocketsStop();
}

}  // namespace cf
