// The scale inside the fuzzing process: it takes the bytes the driver sends,
// checks every frame (start byte, length fields, CRC, a command of the
// scale's set with exactly its data size, a PLU name within its field) and
// answers, so that a whole upload runs without a network. A bad frame is a
// finding. Time on the wire is the recorder's own: a wait ends at once and
// only moves its clock, so that a scale that answers late or never costs an
// input no real time; every wait must stay within the driver's bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "device/uSocketCalls.h"

namespace fuzz_support {

// How the scale behaves on the wire. Without one the recorder takes every
// connection and every send at once and answers every frame at once with
// its good answer.
class IScaleWire {
public:
    enum class TConnect { Taken, TakenLate, Refused, RefusedLate, Unanswered };
    // What the connection is after an answer's pieces.
    enum class TAfter { Open, Closed, Reset };
    struct TPiece {
        std::string Bytes;
        int DelayMs = 0;  // after the frame, or after the piece before
    };
    struct TAnswer {
        std::vector<TPiece> Pieces;
        TAfter After = TAfter::Open;
    };

    virtual ~IScaleWire() = default;
    virtual TConnect Connect() = 0;
    // How many of the `size` bytes of a send the scale takes now, 1 to `size`.
    virtual std::size_t Accept(std::size_t size) = 0;
    // The answer to a frame whose good answer is `good`.
    virtual TAnswer Answer(const std::string& good) = 0;
};

class ScaleRecorder {
public:
    // The driver's socket calls (RecorderSockets.cpp), one socket at a time.
    void CreateStream();
    device::sockets::TConnectStart StartConnect();
    bool WaitConnected(int timeoutMs);
    void SetReceiveTimeout(int timeoutMs);
    bool WaitReadable(int timeoutMs);
    long Send(const char* data, std::size_t size);
    long Receive(char* data, std::size_t size);
    void Close();
    void Pause(int64_t milliseconds) { nowMs_ += milliseconds; }
    int64_t NowMs() const { return nowMs_; }

    // A fresh scale with `wire` (null: the recorder's own way); no connection open.
    void Reset(IScaleWire* wire = nullptr);
    // The one frame of no command of the scale's set that it takes, as a label.
    void AcceptLabel(std::string frame) { label_ = std::move(frame); }
    // Whether the driver holds a socket now.
    bool SocketOpen() const { return open_; }

private:
    struct TQueued {
        std::string Bytes;
        int64_t ArrivesAtMs;
    };

    void Take(const char* data, std::size_t size);
    void Check(const std::string& frame);
    void Queue(const IScaleWire::TAnswer& answer);
    void RequireConnected() const;
    void Waited(int64_t milliseconds);

    IScaleWire* wire_ = nullptr;
    bool open_ = false;
    bool connected_ = false;
    bool connectPending_ = false;
    IScaleWire::TConnect connect_ = IScaleWire::TConnect::Taken;
    IScaleWire::TAfter peer_ = IScaleWire::TAfter::Open;
    std::string pending_;
    std::deque<TQueued> answers_;
    std::string label_;
    int64_t nowMs_ = 0;
    int receiveTimeoutMs_ = 0;
    int64_t waitedMs_ = 0;  // for the answer to the last send
};

// The one recorder the socket calls of the fuzz programs talk to.
ScaleRecorder& Recorder();

}  // namespace fuzz_support
