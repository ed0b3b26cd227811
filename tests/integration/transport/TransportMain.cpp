// The socket library is started once for the whole program, as the driver
// library does at load.
#include <gtest/gtest.h>

#include "device/uTCPSocket.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    device::SocketsStart();
    const int result = RUN_ALL_TESTS();
    device::SocketsStop();
    return result;
}
