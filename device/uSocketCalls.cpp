#include "device/uSocketCalls.h"

#include <thread>

namespace device::sockets {

std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }

void Pause(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

}  // namespace device::sockets
