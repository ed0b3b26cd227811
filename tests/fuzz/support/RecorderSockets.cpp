// The driver's socket calls answered by the in-process scale recorder: the
// fuzz programs link this instead of the system's sockets, so nothing leaves
// the process, and no wait takes real time.
#include <cstdio>

#include "device/uSocketCalls.h"
#include "tests/fuzz/support/ScaleRecorder.h"

namespace device::sockets {

namespace {

constexpr THandle kRecorderHandle = 1;

fuzz_support::ScaleRecorder& Scale() { return fuzz_support::Recorder(); }

}  // namespace

bool Startup() { return true; }
bool Cleanup() { return true; }

std::optional<uint32_t> ParseIPv4(const std::string& text) {
    unsigned parts[4];
    char rest;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3], &rest) != 4)
        return std::nullopt;
    uint32_t address = 0;
    for (unsigned part : parts) {
        if (part > 255) return std::nullopt;
        address = address << 8 | part;
    }
    return address;
}

THandle CreateStream() {
    Scale().CreateStream();
    return kRecorderHandle;
}

void SetNonBlocking(THandle, bool) {}
TConnectStart StartConnect(THandle, uint32_t, uint16_t) { return Scale().StartConnect(); }
bool WaitConnected(THandle, int timeoutMs) { return Scale().WaitConnected(timeoutMs); }
void SetReceiveTimeout(THandle, int timeoutMs) { Scale().SetReceiveTimeout(timeoutMs); }
bool WaitReadable(THandle, int timeoutMs) { return Scale().WaitReadable(timeoutMs); }
long Send(THandle, const char* data, std::size_t size) { return Scale().Send(data, size); }
long Receive(THandle, char* data, std::size_t size) { return Scale().Receive(data, size); }
void ShutdownBoth(THandle) {}
void Close(THandle) { Scale().Close(); }

std::chrono::steady_clock::time_point Now() {
    return std::chrono::steady_clock::time_point(std::chrono::milliseconds(Scale().NowMs()));
}

void Pause(std::chrono::milliseconds duration) { Scale().Pause(duration.count()); }

}  // namespace device::sockets
