#include <winsock2.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "tools/tiger-sim/SimSocket.h"

namespace tiger_sim::net {

namespace {

SOCKET Sock(TSocket socket) { return static_cast<SOCKET>(socket); }

timeval Timeout(int ms) { return timeval{ms / 1000, (ms % 1000) * 1000}; }

}  // namespace

void Startup() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
}

void Cleanup() { WSACleanup(); }

TSocket ListenLoopback(uint16_t port, uint16_t& boundPort) {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) throw std::runtime_error("socket: error " + std::to_string(WSAGetLastError()));
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 4) != 0) {
        const int error = WSAGetLastError();
        closesocket(s);
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": error " +
                                 std::to_string(error));
    }
    int size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    boundPort = ntohs(address.sin_port);
    return static_cast<TSocket>(s);
}

TSocket Accept(TSocket listener, int timeoutMs) {
    if (!WaitReadable(listener, timeoutMs)) return kNoSocket;
    const SOCKET s = accept(Sock(listener), nullptr, nullptr);
    return s == INVALID_SOCKET ? kNoSocket : static_cast<TSocket>(s);
}

bool WaitReadable(TSocket socket, int timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Sock(socket), &readable);
    timeval timeout = Timeout(timeoutMs);
    return select(0, &readable, nullptr, nullptr, &timeout) > 0;
}

long Receive(TSocket socket, char* data, std::size_t size) {
    return recv(Sock(socket), data, static_cast<int>(size), 0);
}

bool SendAll(TSocket socket, const char* data, std::size_t size) {
    while (size > 0) {
        const int sent = send(Sock(socket), data, static_cast<int>(size), 0);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

void Close(TSocket socket) {
    if (socket != kNoSocket) closesocket(Sock(socket));
}

}  // namespace tiger_sim::net
