// The driver's TCP client connection to the scale: bounded connect, whole
// sends, answers collected within the receive bound, close.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "device/uSocketCalls.h"

namespace device {

// Start and stop of the socket library, once per loaded library; raise
// cf::EquException 1001 on failure.
void SocketsStart();
void SocketsStop();

class TTCPSocket {
public:
    static constexpr int kConnectTimeoutMs = 5000;
    static constexpr int kReceiveTimeoutMs = 5000;

    TTCPSocket() = default;
    ~TTCPSocket();
    TTCPSocket(const TTCPSocket&) = delete;
    TTCPSocket& operator=(const TTCPSocket&) = delete;

    const std::u16string& IPAddress() const { return FIPAddress; }
    void SetIPAddress(std::u16string AValue) { FIPAddress = std::move(AValue); }
    int32_t IPPort() const { return FIPPort; }
    void SetIPPort(int32_t AValue) { FIPPort = AValue; }
    bool Connected() const { return FHandle != sockets::kNoHandle && FHandle != sockets::kInvalidHandle; }

    // Raises cf::EquException 1001 on every failure; an open connection is not closed first.
    void SetConnection();
    void CloseConnection();
    // Sends every byte of APacket.
    void WriteStr(const std::string& APacket);
    // Exactly ALen bytes: what arrived within the receive bound, zero-filled
    // when the peer closed or stopped early. Nothing at all raises.
    void ReadString(int ALen, std::string& ABytes);

private:
    sockets::THandle FHandle = sockets::kNoHandle;
    std::u16string FIPAddress;
    int32_t FIPPort = 0;
};

}  // namespace device
