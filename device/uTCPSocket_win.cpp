// Windows Sockets 1.1.
#include <winsock2.h>

#include <cstring>

#include "device/uSocketCalls.h"

namespace device::sockets {

namespace {

SOCKET Sock(THandle handle) { return static_cast<SOCKET>(handle); }

WSADATA gStartup;

}  // namespace

bool Startup() { return WSAStartup(0x0101, &gStartup) == 0; }
bool Cleanup() { return WSACleanup() == 0; }

std::optional<uint32_t> ParseIPv4(const std::string& text) {
    const unsigned long address = inet_addr(text.c_str());
    if (address == INADDR_NONE) return std::nullopt;
    return static_cast<uint32_t>(address);
}

THandle CreateStream() {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    return s == INVALID_SOCKET ? kInvalidHandle : static_cast<THandle>(s);
}

void SetNonBlocking(THandle handle, bool nonBlocking) {
    u_long argument = nonBlocking ? 1 : 0;
    ioctlsocket(Sock(handle), FIONBIO, &argument);
}

TConnectStart StartConnect(THandle handle, uint32_t address, uint16_t port) {
    sockaddr_in target;
    std::memset(&target, 0, sizeof target);
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = address;
    target.sin_port = htons(port);
    if (connect(Sock(handle), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
        return TConnectStart::csConnected;
    }
    return WSAGetLastError() == WSAEWOULDBLOCK ? TConnectStart::csPending : TConnectStart::csFailed;
}

bool WaitConnected(THandle handle, int timeoutMs) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(Sock(handle), &writable);
    FD_SET(Sock(handle), &failed);
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    if (select(0, nullptr, &writable, &failed, &timeout) <= 0) return false;
    return FD_ISSET(Sock(handle), &writable) != 0;
}

void SetReceiveTimeout(THandle handle, int timeoutMs) {
    const DWORD value = static_cast<DWORD>(timeoutMs);
    setsockopt(Sock(handle), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&value), sizeof value);
}

bool WaitReadable(THandle handle, int timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Sock(handle), &readable);
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &timeout) > 0;
}

long Send(THandle handle, const char* data, std::size_t size) {
    return send(Sock(handle), data, static_cast<int>(size), 0);
}

long Receive(THandle handle, char* data, std::size_t size) {
    return recv(Sock(handle), data, static_cast<int>(size), 0);
}

void ShutdownBoth(THandle handle) { shutdown(Sock(handle), SD_BOTH); }

void Close(THandle handle) { closesocket(Sock(handle)); }

}  // namespace device::sockets
