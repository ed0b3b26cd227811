#include <chrono>

#include "device/uTCPSocket.h"
#include "lib/cf/uEquipmentErrors.h"
#include "tests/integration/transport/TransportSupport.h"

using namespace transport_test;
using device::TTCPSocket;
using tiger_sim::net::TSocket;

namespace {

std::u16string ConnectMessage(const std::u16string& address, int32_t port) {
    TTCPSocket socket;
    socket.SetIPAddress(address);
    socket.SetIPPort(port);
    try {
        socket.SetConnection();
    } catch (const cf::EquException& e) {
        EXPECT_EQ(e.Code, 1001);
        EXPECT_FALSE(socket.Connected());
        return e.Message();
    }
    return u"(connected)";
}

void Send(TSocket socket, const std::string& bytes) { tiger_sim::net::SendAll(socket, bytes.data(), bytes.size()); }

std::string ReadFrom(TTCPSocket& socket, int length) {
    std::string bytes;
    socket.ReadString(length, bytes);
    return bytes;
}

}  // namespace

TEST(TcpSocket, AddressAndPortAreCheckedBeforeAnySocket) {
    const std::u16string badAddress = u"Синтаксическая ошибка в IP-адресе";
    const std::u16string badPort = u"Номер порта должен лежать в диапазоне 1-65535";
    EXPECT_EQ(ConnectMessage(u"localhost", 3001), badAddress);  // no name lookup
    EXPECT_EQ(ConnectMessage(u"", 3001), badAddress);
    EXPECT_EQ(ConnectMessage(u"255.255.255.255", 3001), badAddress);
    EXPECT_EQ(ConnectMessage(u"127.0.0.1x", 3001), badAddress);
    EXPECT_EQ(ConnectMessage(u"127.0.0.1", 0), badPort);
    EXPECT_EQ(ConnectMessage(u"127.0.0.1", 65536), badPort);
    EXPECT_EQ(ConnectMessage(u"127.0.0.1", -5), badPort);
    // A refused connect has passed both checks.
    const uint16_t closed = ClosedPort();
    EXPECT_EQ(ConnectMessage(u"127.0.0.1", closed), u"Ошибка при установлении подключения");
}

TEST(TcpSocket, RefusedConnectionFailsWithinTheBound) {
    const uint16_t closed = ClosedPort();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ConnectMessage(u"127.0.0.1", closed), u"Ошибка при установлении подключения");
    EXPECT_LE(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
}

TEST(TcpSocket, BlanksAroundTheAddressAreIgnored) {
    ScriptedPeer peer([](TSocket s) { Send(s, "\x06"); });
    TTCPSocket socket;
    socket.SetIPAddress(u"  127.0.0.1 \t");
    socket.SetIPPort(peer.Port());
    socket.SetConnection();
    EXPECT_TRUE(socket.Connected());
    EXPECT_EQ(ReadFrom(socket, 1), "\x06");
    socket.CloseConnection();
    EXPECT_FALSE(socket.Connected());
    socket.CloseConnection();  // closing twice does nothing visible
    EXPECT_EQ(MessageOf([&] { socket.WriteStr("x"); }), u"Ошибка при отправке данных серверу");
}

TEST(TcpSocket, APeerThatClosesGivesZeroBytes) {
    ScriptedPeer peer([](TSocket) {});
    TTCPSocket socket;
    socket.SetIPAddress(u"127.0.0.1");
    socket.SetIPPort(peer.Port());
    socket.SetConnection();
    EXPECT_EQ(ReadFrom(socket, 1), std::string(1, '\0'));
}

TEST(TcpSocket, AnAnswerInPiecesIsCollected) {
    ScriptedPeer peer([](TSocket s) {
        char request[4] = {};
        tiger_sim::net::Receive(s, request, sizeof request);
        for (const char* piece : {"\x66", "ABC", "DEFGHI"}) {
            Send(s, piece);
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
    });
    TTCPSocket socket;
    socket.SetIPAddress(u"127.0.0.1");
    socket.SetIPPort(peer.Port());
    socket.SetConnection();
    socket.WriteStr("ping");
    EXPECT_EQ(ReadFrom(socket, 1), "\x66");
    EXPECT_EQ(ReadFrom(socket, 9), "ABCDEFGHI");
}

// The slow cases: each waits for the 5-second receive bound.
TEST(TcpSocketSlow, SilenceAfterPartOfAnAnswerZeroFillsTheRest) {
    ScriptedPeer peer([&](TSocket s) {
        Send(s, "0123456789");
        peer.HoldUntilDone();
    });
    TTCPSocket socket;
    socket.SetIPAddress(u"127.0.0.1");
    socket.SetIPPort(peer.Port());
    socket.SetConnection();
    EXPECT_EQ(ReadFrom(socket, 40), "0123456789" + std::string(30, '\0'));
    peer.Finish();
}
