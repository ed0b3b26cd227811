// Shared pieces of the transport tests: the simulator on a thread, a peer
// that follows a script, and a device whose exchange log is captured.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ErrorMessage.h"
#include "device/uDevice.h"
#include "lib/cf/Exception.h"
#include "tools/tiger-sim/SimSocket.h"
#include "tools/tiger-sim/Simulator.h"

namespace transport_test {

using test_support::MessageOf;

struct TLogLine {
    std::u16string Text;
    std::u16string Detail;
};

// A device that writes its exchange log into `log`.
inline std::unique_ptr<device::TDevice> CapturingDevice(std::vector<TLogLine>& log) {
    return std::make_unique<device::TDevice>(
        [&log](std::u16string_view text, std::u16string_view detail) { log.push_back({std::u16string(text), std::u16string(detail)}); });
}

// A simulator with `options`, started for the test's lifetime.
class SimulatorTest : public ::testing::Test {
protected:
    void StartSimulator(tiger_sim::TSimOptions options = {}) {
        options.KeepJournal = true;
        sim = std::make_unique<tiger_sim::TSimulator>(std::move(options));
        port = sim->Port() ? sim->Port() : sim->Start();
    }
    void Connect(device::TDevice& device) { device.Enable(u"127.0.0.1", port); }
    void TearDown() override {
        if (sim) sim->Stop();
    }

    std::unique_ptr<tiger_sim::TSimulator> sim;
    uint16_t port = 0;
};

// Listens on 127.0.0.1 and runs `script` on the first connection, on its own thread.
class ScriptedPeer {
public:
    using Script = std::function<void(tiger_sim::net::TSocket)>;

    explicit ScriptedPeer(Script script) {
        tiger_sim::net::Startup();
        listener_ = tiger_sim::net::ListenLoopback(0, port_);
        thread_ = std::thread([this, script = std::move(script)] {
            tiger_sim::net::TSocket connection = tiger_sim::net::kNoSocket;
            while (!done_ && connection == tiger_sim::net::kNoSocket) connection = tiger_sim::net::Accept(listener_, 50);
            if (connection == tiger_sim::net::kNoSocket) return;
            script(connection);
            tiger_sim::net::Close(connection);
        });
    }
    ~ScriptedPeer() {
        done_ = true;
        thread_.join();
        tiger_sim::net::Close(listener_);
        tiger_sim::net::Cleanup();
    }
    uint16_t Port() const { return port_; }
    const std::atomic<bool>& Done() const { return done_; }
    void Finish() { done_ = true; }

    // Waits (up to 10 s) until the test says it is done; a script uses it to hold the connection open.
    void HoldUntilDone() const {
        for (int i = 0; i < 200 && !done_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

private:
    tiger_sim::net::TSocket listener_ = tiger_sim::net::kNoSocket;
    uint16_t port_ = 0;
    std::thread thread_;
    std::atomic<bool> done_{false};
};

// A port on 127.0.0.1 where nothing listens (it did a moment ago).
inline uint16_t ClosedPort() {
    tiger_sim::net::Startup();
    uint16_t port = 0;
    tiger_sim::net::Close(tiger_sim::net::ListenLoopback(0, port));
    tiger_sim::net::Cleanup();
    return port;
}

}  // namespace transport_test
