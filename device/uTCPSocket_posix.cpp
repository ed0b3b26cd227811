// Berkeley sockets. Handles are descriptors + 1, so that 0 can mean "none"
// even for descriptor 0. poll instead of select: a host process may hold
// descriptors beyond select's fixed set size.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "device/uSocketCalls.h"

namespace device::sockets {

namespace {

int Fd(THandle handle) { return static_cast<int>(handle - 1); }

bool PollFor(THandle handle, short events, int timeoutMs, short& revents) {
    pollfd entry{Fd(handle), events, 0};
    int result;
    do {
        result = poll(&entry, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    revents = entry.revents;
    return result > 0;
}

}  // namespace

bool Startup() { return true; }
bool Cleanup() { return true; }

std::optional<uint32_t> ParseIPv4(const std::string& text) {
    const in_addr_t address = inet_addr(text.c_str());
    if (address == INADDR_NONE) return std::nullopt;
    return static_cast<uint32_t>(address);
}

THandle CreateStream() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    return fd < 0 ? kInvalidHandle : static_cast<THandle>(fd) + 1;
}

void SetNonBlocking(THandle handle, bool nonBlocking) {
    const int flags = fcntl(Fd(handle), F_GETFL, 0);
    fcntl(Fd(handle), F_SETFL, nonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK);
}

TConnectStart StartConnect(THandle handle, uint32_t address, uint16_t port) {
    sockaddr_in target;
    std::memset(&target, 0, sizeof target);
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = address;
    target.sin_port = htons(port);
    if (connect(Fd(handle), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
        return TConnectStart::csConnected;
    }
    return errno == EINPROGRESS ? TConnectStart::csPending : TConnectStart::csFailed;
}

bool WaitConnected(THandle handle, int timeoutMs) {
    short revents = 0;
    if (!PollFor(handle, POLLOUT, timeoutMs, revents) || !(revents & POLLOUT)) return false;
    // A refused connect also reports writable here; its error tells them apart.
    int error = 0;
    socklen_t size = sizeof error;
    return getsockopt(Fd(handle), SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

void SetReceiveTimeout(THandle handle, int timeoutMs) {
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(Fd(handle), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
}

bool WaitReadable(THandle handle, int timeoutMs) {
    short revents = 0;
    return PollFor(handle, POLLIN, timeoutMs, revents);
}

long Send(THandle handle, const char* data, std::size_t size) {
    ssize_t result;
    do {
        result = send(Fd(handle), data, size, MSG_NOSIGNAL);
    } while (result < 0 && errno == EINTR);
    return static_cast<long>(result);
}

long Receive(THandle handle, char* data, std::size_t size) {
    ssize_t result;
    do {
        result = recv(Fd(handle), data, size, 0);
    } while (result < 0 && errno == EINTR);
    return static_cast<long>(result);
}

void ShutdownBoth(THandle handle) { shutdown(Fd(handle), SHUT_RDWR); }

void Close(THandle handle) { close(Fd(handle)); }

}  // namespace device::sockets
