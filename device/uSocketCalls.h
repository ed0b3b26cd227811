// The few socket calls TTCPSocket needs, one portable face for Winsock and
// Berkeley sockets (uTCPSocket_win.cpp, uTCPSocket_posix.cpp).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace device::sockets {

// 0: no connection; kInvalidHandle: the socket could not be created.
using THandle = uint64_t;
constexpr THandle kNoHandle = 0;
constexpr THandle kInvalidHandle = ~THandle{0};

// Process-wide start and clean-up of the socket library; false on failure.
bool Startup();
bool Cleanup();

// A dotted-decimal IPv4 address in network byte order; no name lookup.
std::optional<uint32_t> ParseIPv4(const std::string& text);

THandle CreateStream();
void SetNonBlocking(THandle handle, bool nonBlocking);

enum class TConnectStart { csConnected, csPending, csFailed };
TConnectStart StartConnect(THandle handle, uint32_t address, uint16_t port);
// Waits for a pending connect; true only when it completed without error.
bool WaitConnected(THandle handle, int timeoutMs);

void SetReceiveTimeout(THandle handle, int timeoutMs);
// True when data (or the peer's close) can be read within timeoutMs.
bool WaitReadable(THandle handle, int timeoutMs);

// Byte counts, negative on failure; a send never raises a signal.
long Send(THandle handle, const char* data, std::size_t size);
long Receive(THandle handle, char* data, std::size_t size);

void ShutdownBoth(THandle handle);
void Close(THandle handle);

// The clock the waits are measured on, and a wait with nothing sent or read
// (uSocketCalls.cpp); beside the socket calls, so that a test's in-process
// scale keeps time of its own.
std::chrono::steady_clock::time_point Now();
void Pause(std::chrono::milliseconds duration);

}  // namespace device::sockets
