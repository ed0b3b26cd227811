// The scale simulator as a library: a listener thread serving one
// connection at a time, the scale model, the journal and the fault options.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/tiger-sim/ScaleModel.h"
#include "tools/tiger-sim/SimOptions.h"
#include "tools/tiger-sim/SimSocket.h"

namespace tiger_sim {

struct TSimSummary {
    uint64_t Frames = 0;
    uint64_t Connections = 0;
    uint64_t Acknowledged = 0;  // 0x06
    uint64_t DataAnswers = 0;   // 0x66
    uint64_t Refused = 0;       // 0x15, bad frames and injected refusals
    uint64_t BadFrames = 0;     // start byte, lengths or CRC wrong
    uint64_t Dropped = 0;       // --close-at
    uint64_t Unanswered = 0;    // --silent-at

    std::string Text() const;
};

struct TJournalEntry {
    std::string Json;  // the journal line
    std::chrono::steady_clock::time_point ReceivedAt;
};

class TSimulator {
public:
    explicit TSimulator(TSimOptions options);
    ~TSimulator();
    TSimulator(const TSimulator&) = delete;
    TSimulator& operator=(const TSimulator&) = delete;

    // Listens and starts serving; returns the port. Raises std::runtime_error.
    uint16_t Start();
    // Stops serving and closes every socket; safe to call twice.
    void Stop();
    uint16_t Port() const { return port_; }

    TScaleState State() const;
    // Empty unless the options keep the journal.
    std::vector<TJournalEntry> Journal() const;
    TSimSummary Summary() const;

private:
    enum class TFault { none, refuse, close, silent };

    void Run();
    void Serve(net::TSocket connection);
    // False when the connection is to be dropped.
    // badStatus names a stream fault instead of a frame; receivedAt: its last byte's arrival.
    bool Process(net::TSocket connection, const std::string& bytes, const char* badStatus,
                 std::chrono::steady_clock::time_point receivedAt);
    TFault FaultFor(uint64_t frame) const;
    void Record(const std::string& line, std::chrono::steady_clock::time_point receivedAt);

    TSimOptions options_;
    uint16_t port_ = 0;
    net::TSocket listener_ = net::kNoSocket;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    bool started_ = false;

    mutable std::mutex mutex_;
    TScaleState state_;
    std::vector<TJournalEntry> journal_;
    std::ofstream journalFile_;  // streamed, one line per frame
    TSimSummary summary_;
};

}  // namespace tiger_sim
