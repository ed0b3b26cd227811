// The driver's socket calls answered by the in-process scale recorder: the
// fuzz programs link this instead of the system's sockets, so nothing leaves
// the process.
#include <cstdio>

#include "device/uSocketCalls.h"
#include "tests/fuzz/support/ScaleRecorder.h"

namespace device::sockets {

namespace {

constexpr THandle kRecorderHandle = 1;

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

THandle CreateStream() { return kRecorderHandle; }
void SetNonBlocking(THandle, bool) {}

TConnectStart StartConnect(THandle, uint32_t, uint16_t) {
    fuzz_support::Recorder().Connect();
    return TConnectStart::csConnected;
}

bool WaitConnected(THandle, int) { return true; }
void SetReceiveTimeout(THandle, int) {}
bool WaitReadable(THandle, int) { return fuzz_support::Recorder().HasAnswer(); }

long Send(THandle, const char* data, std::size_t size) {
    fuzz_support::Recorder().Take(data, size);
    return static_cast<long>(size);
}

// Nothing waiting reads as the peer's close: the recorder answers every
// frame, so the driver never waits for more than it was given.
long Receive(THandle, char* data, std::size_t size) {
    return static_cast<long>(fuzz_support::Recorder().Answer(data, size));
}

void ShutdownBoth(THandle) {}
void Close(THandle) { fuzz_support::Recorder().Close(); }

}  // namespace device::sockets
