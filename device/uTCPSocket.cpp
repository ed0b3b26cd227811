#include "device/uTCPSocket.h"

#include <chrono>

#include "lib/cf/TextUtils.h"
#include "lib/cf/uEquipmentErrors.h"

namespace device {

namespace {

constexpr int32_t kTransportError = 1001;

[[noreturn]] void Fail(const char16_t* message) { throw cf::EquException(kTransportError, message); }

// Milliseconds until `deadline`, none when it has passed.
int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - sockets::Now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// The address as the parser sees it: trimmed and narrowed; a unit outside
// ASCII can never be part of a dotted address.
std::string NarrowAddress(const std::u16string& address) {
    std::string narrow;
    for (char16_t unit : cf::Trim(address)) narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
    return narrow;
}

}  // namespace

void SocketsStart() {
    if (!sockets::Startup()) Fail(u"Ошибка инициализации библиотеки WinSock");
}

void SocketsStop() {
    if (!sockets::Cleanup()) Fail(u"WSACleanup");
}

TTCPSocket::~TTCPSocket() { CloseConnection(); }

void TTCPSocket::SetConnection() {
    const std::optional<uint32_t> address = sockets::ParseIPv4(NarrowAddress(FIPAddress));
    if (!address) Fail(u"Синтаксическая ошибка в IP-адресе");
    if (FIPPort < 1 || FIPPort > 65535) Fail(u"Номер порта должен лежать в диапазоне 1-65535");

    CloseConnection();  // a second connect must not leak the first socket
    FHandle = sockets::CreateStream();
    if (FHandle == sockets::kInvalidHandle) Fail(u"Ошибка при создании сокета");
    sockets::SetNonBlocking(FHandle, true);

    const sockets::TConnectStart start = sockets::StartConnect(FHandle, *address, static_cast<uint16_t>(FIPPort));
    const bool connected = start == sockets::TConnectStart::csConnected ||
                           (start == sockets::TConnectStart::csPending &&
                            sockets::WaitConnected(FHandle, kConnectTimeoutMs));
    if (!connected) {
        sockets::Close(FHandle);
        FHandle = sockets::kNoHandle;
        Fail(u"Ошибка при установлении подключения");
    }
    sockets::SetNonBlocking(FHandle, false);
    sockets::SetReceiveTimeout(FHandle, kReceiveTimeoutMs);
}

void TTCPSocket::CloseConnection() {
    if (Connected()) {
        sockets::ShutdownBoth(FHandle);
        sockets::Close(FHandle);
    }
    FHandle = sockets::kNoHandle;
}

void TTCPSocket::WriteStr(const std::string& APacket) {
    std::size_t sent = 0;
    while (sent < APacket.size()) {
        const long result = Connected() ? sockets::Send(FHandle, APacket.data() + sent, APacket.size() - sent) : -1;
        if (result <= 0) Fail(u"Ошибка при отправке данных серверу");
        sent += static_cast<std::size_t>(result);
    }
}

void TTCPSocket::ReadString(int ALen, std::string& ABytes) {
    const std::size_t wanted = ALen > 0 ? static_cast<std::size_t>(ALen) : 0;
    std::string buffer(wanted, '\0');
    std::size_t got = 0;
    const auto deadline = sockets::Now() + std::chrono::milliseconds(kReceiveTimeoutMs);
    // The first piece is one receive, bounded by the socket's receive time-out
    // (most answers are a single byte); the rest of an answer that arrives in
    // pieces is awaited until the same deadline.
    while (got < wanted) {
        if (got > 0) {
            if (!Connected() || !sockets::WaitReadable(FHandle, MillisecondsLeft(deadline))) break;
        } else if (!Connected()) {
            Fail(u"Ошибка при получении ответа от сервера");
        }
        const long result = sockets::Receive(FHandle, buffer.data() + got, wanted - got);
        if (result < 0) {
            if (got == 0) Fail(u"Ошибка при получении ответа от сервера");
            break;
        }
        if (result == 0) break;  // the peer closed: the rest stays zero
        got += static_cast<std::size_t>(result);
    }
    ABytes = std::move(buffer);
}

}  // namespace device
