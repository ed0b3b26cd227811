// The simulator's side of TCP: a listener on 127.0.0.1 and its connections
// (SimSocket_win.cpp, SimSocket_posix.cpp). Tests use it for scripted peers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tiger_sim::net {

using TSocket = intptr_t;
constexpr TSocket kNoSocket = -1;

// Reference-counted start of the socket library (a no-op outside Windows).
void Startup();
void Cleanup();

// Listens on 127.0.0.1:port (0 picks a free port); raises std::runtime_error.
TSocket ListenLoopback(uint16_t port, uint16_t& boundPort);
// A new connection, or kNoSocket when none arrived within timeoutMs.
TSocket Accept(TSocket listener, int timeoutMs);
bool WaitReadable(TSocket socket, int timeoutMs);
// Negative on failure, 0 when the peer closed.
long Receive(TSocket socket, char* data, std::size_t size);
// False when not every byte could be sent.
bool SendAll(TSocket socket, const char* data, std::size_t size);
void Close(TSocket socket);

}  // namespace tiger_sim::net
