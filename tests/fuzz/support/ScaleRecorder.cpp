#include "tests/fuzz/support/ScaleRecorder.h"

#include <algorithm>
#include <limits>

#include "device/uScaleCommands.h"
#include "device/uTCPSocket.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/support/ReferenceFrames.h"
#include "tools/tiger-sim/FrameReader.h"

namespace fuzz_support {

namespace {

using device::sockets::TConnectStart;
using TConnect = IScaleWire::TConnect;
using TAfter = IScaleWire::TAfter;

constexpr device::TCommandCode kCommands[] = {
    device::kClearPLU,          device::kDeletePLU,      device::kReadPLU,          device::kWritePluOneLine,
    device::kWritePluTwoLine,   device::kReadAdditionalText, device::kWriteAdditionalText, device::kReadConf,
    device::kWriteCompany,      device::kWriteTare,      device::kWriteDateTime,    device::kWriteOperatorOptions,
    device::kWriteOpers,        device::kWriteDateText,  device::kWriteBarcodeFormat, device::kWriteLabelOptions,
};

// The longest wait the driver may ask for; a negative one would never end.
constexpr int kLongestWaitMs = std::max(device::TTCPSocket::kConnectTimeoutMs, device::TTCPSocket::kReceiveTimeoutMs);

const device::TCommandCode* CommandOf(const tiger_sim::TParsedFrame& frame) {
    for (const device::TCommandCode& command : kCommands) {
        if (frame.Table == command.Table && frame.Operation == command.Operation &&
            frame.Parameter == command.Parameter && frame.Data.size() == command.DataLength)
            return &command;
    }
    return nullptr;
}

// The PLU record's name field ends with one space; a longer name would
// push it and every later field out of place.
void CheckPluLayout(const tiger_sim::TParsedFrame& frame) {
    const bool twoLine = frame.Data.size() == device::kWritePluTwoLine.DataLength;
    const std::size_t separator = device::kBarcodeWidth + 4 +
                                  (twoLine ? 2 * device::kPluNameLineWidth : device::kPluNameOneLineWidth);
    Require(frame.Data[separator] == ' ', "PLU name overflows its field");
}

// Checks the frame; answers its good answer, and for a read as many data
// bytes as the scale sends.
std::string GoodAnswerTo(const std::string& bytes) {
    const tiger_sim::TParsedFrame frame = tiger_sim::ParseFrame(bytes);
    Require(frame.LengthsOk, "frame length fields disagree");
    const std::size_t crcAt = bytes.size() - device::kCrcSize;
    const uint16_t crc = test_support::ReferenceCrc(bytes.substr(1, crcAt - 1));
    Require(static_cast<uint8_t>(bytes[crcAt]) == (crc >> 8) && static_cast<uint8_t>(bytes[crcAt + 1]) == (crc & 0xFF),
            "frame CRC is wrong");
    const device::TCommandCode* command = CommandOf(frame);
    Require(command != nullptr, "frame of no known command or of a wrong data size");
    if (command->Table == device::kWritePluOneLine.Table && command->Operation == device::kWritePluOneLine.Operation)
        CheckPluLayout(frame);
    std::string good(1, static_cast<char>(command->GoodAnswer));
    good.append(command->FurtherAnswer, '\0');
    return good;
}

void CheckWait(int timeoutMs) {
    Require(timeoutMs >= 0 && timeoutMs <= kLongestWaitMs, "a wait outside the driver's time bounds");
}

}  // namespace

ScaleRecorder& Recorder() {
    static ScaleRecorder recorder;
    return recorder;
}

void ScaleRecorder::Reset(IScaleWire* wire) {
    wire_ = wire;
    open_ = connected_ = connectPending_ = false;
    pending_.clear();
    answers_.clear();
    label_.clear();
}

void ScaleRecorder::CreateStream() {
    Require(!open_, "a second socket while one is open");
    open_ = true;
    connected_ = connectPending_ = false;
    peer_ = TAfter::Open;
    receiveTimeoutMs_ = 0;
    waitedMs_ = 0;
    pending_.clear();
    answers_.clear();
}

TConnectStart ScaleRecorder::StartConnect() {
    Require(open_ && !connected_ && !connectPending_, "a connect on a socket that is not fresh");
    connect_ = wire_ ? wire_->Connect() : TConnect::Taken;
    if (connect_ == TConnect::Taken) {
        connected_ = true;
        return TConnectStart::csConnected;
    }
    if (connect_ == TConnect::Refused) return TConnectStart::csFailed;
    connectPending_ = true;
    return TConnectStart::csPending;
}

// A late answer to the connect comes halfway through the wait.
bool ScaleRecorder::WaitConnected(int timeoutMs) {
    CheckWait(timeoutMs);
    Require(connectPending_, "a wait for a connect that is not under way");
    connectPending_ = false;
    nowMs_ += connect_ == TConnect::Unanswered ? timeoutMs : timeoutMs / 2;
    connected_ = connect_ == TConnect::TakenLate;
    return connected_;
}

void ScaleRecorder::SetReceiveTimeout(int timeoutMs) {
    RequireConnected();
    receiveTimeoutMs_ = timeoutMs;
}

bool ScaleRecorder::WaitReadable(int timeoutMs) {
    CheckWait(timeoutMs);
    RequireConnected();
    if (answers_.empty() && peer_ != TAfter::Open) return true;  // the close is there to read
    if (!answers_.empty() && answers_.front().ArrivesAtMs <= nowMs_ + timeoutMs) {
        Waited(std::max<int64_t>(0, answers_.front().ArrivesAtMs - nowMs_));
        return true;
    }
    Waited(timeoutMs);
    return false;
}

// Every answer the driver awaits is read in one go after the frame it
// answers was sent, with no wait in between: all waits since the last send
// are for one answer and share its bound.
void ScaleRecorder::Waited(int64_t milliseconds) {
    nowMs_ += milliseconds;
    waitedMs_ += milliseconds;
    Require(waitedMs_ <= device::TTCPSocket::kReceiveTimeoutMs, "an answer awaited beyond the driver's bound");
}

long ScaleRecorder::Send(const char* data, std::size_t size) {
    RequireConnected();
    if (peer_ != TAfter::Open) return -1;
    const std::size_t taken = std::clamp<std::size_t>(wire_ ? wire_->Accept(size) : size, 1, size);
    waitedMs_ = 0;
    Take(data, taken);
    return static_cast<long>(taken);
}

// A blocking receive: bounded by the socket's receive time-out, which must be set.
long ScaleRecorder::Receive(char* data, std::size_t size) {
    RequireConnected();
    if (answers_.empty() && peer_ == TAfter::Closed) return 0;
    if (answers_.empty() && peer_ == TAfter::Reset) return -1;
    const int64_t arrivesAt = answers_.empty() ? std::numeric_limits<int64_t>::max() : answers_.front().ArrivesAtMs;
    if (arrivesAt > nowMs_) {
        Require(receiveTimeoutMs_ > 0, "a receive that may wait forever");
        if (arrivesAt - nowMs_ > receiveTimeoutMs_) {
            Waited(receiveTimeoutMs_);
            return -1;
        }
        Waited(arrivesAt - nowMs_);
    }
    std::string& bytes = answers_.front().Bytes;
    const std::size_t count = std::min(size, bytes.size());
    bytes.copy(data, count);
    bytes.erase(0, count);
    if (bytes.empty()) answers_.pop_front();
    return static_cast<long>(count);
}

void ScaleRecorder::Close() {
    Require(open_, "a socket closed twice");
    Require(pending_.empty() || peer_ != TAfter::Open, "connection closed inside a frame");
    open_ = connected_ = connectPending_ = false;
    pending_.clear();
    answers_.clear();
}

void ScaleRecorder::RequireConnected() const { Require(open_ && connected_, "a socket call without a connection"); }

void ScaleRecorder::Take(const char* data, std::size_t size) {
    pending_.append(data, size);
    for (;;) {
        const tiger_sim::TFrameSplit split = tiger_sim::SplitFrame(pending_);
        if (split.Kind == tiger_sim::TSplit::spNeedMore) return;
        Require(split.Kind == tiger_sim::TSplit::spFrame, "bytes outside a frame or a bad total length");
        const std::string frame = pending_.substr(0, split.Length);
        pending_.erase(0, split.Length);
        Check(frame);
    }
}

void ScaleRecorder::Check(const std::string& bytes) {
    const bool label = !label_.empty() && bytes == label_;
    const std::string good = label ? std::string(1, static_cast<char>(device::kACK)) : GoodAnswerTo(bytes);
    Queue(wire_ ? wire_->Answer(good) : IScaleWire::TAnswer{{{good, 0}}, TAfter::Open});
}

void ScaleRecorder::Queue(const IScaleWire::TAnswer& answer) {
    int64_t at = answers_.empty() ? nowMs_ : std::max(nowMs_, answers_.back().ArrivesAtMs);
    for (const IScaleWire::TPiece& piece : answer.Pieces) {
        at += piece.DelayMs;
        if (!piece.Bytes.empty()) answers_.push_back({piece.Bytes, at});
    }
    peer_ = answer.After;
}

}  // namespace fuzz_support
