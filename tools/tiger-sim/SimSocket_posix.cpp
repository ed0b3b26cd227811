#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "tools/tiger-sim/SimSocket.h"

namespace tiger_sim::net {

namespace {

bool Poll(TSocket socket, short events, int timeoutMs) {
    pollfd entry{static_cast<int>(socket), events, 0};
    int result;
    do {
        result = poll(&entry, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    return result > 0;
}

}  // namespace

void Startup() {}
void Cleanup() {}

TSocket ListenLoopback(uint16_t port, uint16_t& boundPort) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd < 0) throw std::runtime_error("socket: " + std::string(std::strerror(errno)));
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0) {
        const std::string reason = std::strerror(errno);
        close(fd);
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + reason);
    }
    socklen_t size = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    boundPort = ntohs(address.sin_port);
    return fd;
}

TSocket Accept(TSocket listener, int timeoutMs) {
    if (!Poll(listener, POLLIN, timeoutMs)) return kNoSocket;
    const int fd = accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
    return fd < 0 ? kNoSocket : fd;
}

bool WaitReadable(TSocket socket, int timeoutMs) { return Poll(socket, POLLIN, timeoutMs); }

long Receive(TSocket socket, char* data, std::size_t size) {
    ssize_t result;
    do {
        result = recv(static_cast<int>(socket), data, size, 0);
    } while (result < 0 && errno == EINTR);
    return static_cast<long>(result);
}

bool SendAll(TSocket socket, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = send(static_cast<int>(socket), data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

void Close(TSocket socket) {
    if (socket != kNoSocket) close(static_cast<int>(socket));
}

}  // namespace tiger_sim::net
