#include "tools/tiger-sim/Simulator.h"

#include <filesystem>
#include <stdexcept>
#include <fstream>

#include "device/uFrameFields.h"
#include "device/uScaleCommands.h"
#include "lib/cf/TextUtils.h"
#include "tools/tiger-sim/FrameReader.h"
#include "tools/tiger-sim/Json.h"

namespace tiger_sim {

namespace {

using Clock = std::chrono::steady_clock;

// Polling step of the serving thread, so that Stop is noticed quickly.
constexpr int kPollMs = 50;
// A frame not completed within this pause is given up, so the stream can recover.
constexpr auto kFramePause = std::chrono::milliseconds(1000);

const std::string kNak(1, static_cast<char>(device::kNAK));

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Hex(const std::string& bytes) { return cf::ToUtf8(device::BytesToHex(bytes)); }

const char* FaultName(int fault) {
    static const char* const kNames[] = {"null", "\"refuse\"", "\"close\"", "\"silent\""};
    return kNames[fault];
}

}  // namespace

std::string TSimSummary::Text() const {
    return "tiger-sim: " + std::to_string(Frames) + " frames on " + std::to_string(Connections) +
           " connections; answered 0x06: " + std::to_string(Acknowledged) + ", 0x66: " + std::to_string(DataAnswers) +
           ", 0x15: " + std::to_string(Refused) + " (bad frames: " + std::to_string(BadFrames) +
           "); dropped: " + std::to_string(Dropped) + "; unanswered: " + std::to_string(Unanswered);
}

TSimulator::TSimulator(TSimOptions options) : options_(std::move(options)) {}

TSimulator::~TSimulator() { Stop(); }

uint16_t TSimulator::Start() {
    net::Startup();
    started_ = true;
    listener_ = net::ListenLoopback(options_.Port, port_);
    if (!options_.JournalFile.empty()) {
        journalFile_.open(PathOf(options_.JournalFile), std::ios::trunc | std::ios::binary);
        if (!journalFile_) throw std::runtime_error("cannot write the journal file " + options_.JournalFile);
    }
    thread_ = std::thread(&TSimulator::Run, this);
    return port_;
}

void TSimulator::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    net::Close(listener_);
    listener_ = net::kNoSocket;
    if (journalFile_.is_open()) journalFile_.close();
    if (started_) net::Cleanup();
    started_ = false;
}

TScaleState TSimulator::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

std::vector<TJournalEntry> TSimulator::Journal() const {
    std::lock_guard lock(mutex_);
    return journal_;
}

TSimSummary TSimulator::Summary() const {
    std::lock_guard lock(mutex_);
    return summary_;
}

void TSimulator::Run() {
    while (!stop_) {
        const net::TSocket connection = net::Accept(listener_, kPollMs);
        if (connection == net::kNoSocket) continue;
        {
            std::lock_guard lock(mutex_);
            ++summary_.Connections;
        }
        Serve(connection);
        net::Close(connection);
    }
}

void TSimulator::Serve(net::TSocket connection) {
    std::string buffer;
    Clock::time_point lastByte = Clock::now();
    char chunk[4096];
    while (!stop_) {
        if (!net::WaitReadable(connection, kPollMs)) {
            if (!buffer.empty() && Clock::now() - lastByte > kFramePause) {
                if (!Process(connection, buffer, "incomplete", lastByte)) return;
                buffer.clear();
            }
            continue;
        }
        const long received = net::Receive(connection, chunk, sizeof chunk);
        if (received <= 0) return;
        buffer.append(chunk, static_cast<std::size_t>(received));
        lastByte = Clock::now();
        while (!buffer.empty()) {
            const TFrameSplit split = SplitFrame(buffer);
            if (split.Kind == TSplit::spNeedMore) break;
            if (split.Kind != TSplit::spFrame) {
                // Nothing to resynchronise on: the whole buffer is refused.
                const bool keep = Process(connection, buffer, split.Kind == TSplit::spBadStart ? "bad_start" : "bad_length", lastByte);
                buffer.clear();
                if (!keep) return;
                break;
            }
            const std::string frame = buffer.substr(0, split.Length);
            buffer.erase(0, split.Length);
            if (!Process(connection, frame, nullptr, lastByte)) return;
        }
    }
}

TSimulator::TFault TSimulator::FaultFor(uint64_t frame) const {
    if (options_.CloseAt.count(frame)) return TFault::close;
    if (options_.SilentAt.count(frame)) return TFault::silent;
    if (options_.RefuseAt.count(frame)) return TFault::refuse;
    return TFault::none;
}

bool TSimulator::Process(net::TSocket connection, const std::string& bytes, const char* badStatus,
                         Clock::time_point receivedAt) {
    std::string answer;
    TFault fault;
    {
        std::lock_guard lock(mutex_);
        const uint64_t number = ++summary_.Frames;
        fault = FaultFor(number);
        JsonObject entry;
        entry.Num("frame", number).Num("connection", summary_.Connections).Str("hex", Hex(bytes));

        std::string status = badStatus ? badStatus : "ok";
        TDecodedFrame decoded;
        TParsedFrame parsed;
        if (!badStatus) {
            parsed = ParseFrame(bytes);
            if (!parsed.LengthsOk) {
                status = "bad_length";
            } else if (!parsed.CrcOk) {
                status = "bad_crc";
            } else {
                decoded = DecodeFrame(parsed);
                if (!decoded.Apply) status = "unknown_command";
            }
        }
        if (status != "ok" && status != "unknown_command") ++summary_.BadFrames;
        entry.Str("status", status);
        if (!decoded.Command.empty()) entry.Str("command", decoded.Command).Raw("fields", decoded.FieldsJson);
        entry.Raw("fault", FaultName(static_cast<int>(fault)));

        if (fault == TFault::close) {
            ++summary_.Dropped;
        } else if (fault == TFault::silent) {
            ++summary_.Unanswered;
        } else if (fault == TFault::none && decoded.Apply) {
            answer = decoded.Apply(state_);
            state_.FirmwareMark = parsed.FirmwareMark;
        } else {
            answer = kNak;
        }
        if (!answer.empty()) {
            const auto first = static_cast<uint8_t>(answer[0]);
            ++(first == device::kACK ? summary_.Acknowledged
                                     : first == device::kDataAnswer ? summary_.DataAnswers : summary_.Refused);
        }
        entry.Raw("answer", answer.empty() ? "null" : JsonQuote(Hex(answer)));
        Record(entry.Text(), receivedAt);
        if (!options_.StateFile.empty()) {
            std::ofstream(PathOf(options_.StateFile), std::ios::trunc | std::ios::binary) << state_.ToJson() << '\n';
        }
    }
    // Files are complete before the answer leaves, so a client that has its
    // answer can read them.
    if (fault == TFault::close) return false;
    if (answer.empty()) return true;
    if (options_.DelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options_.DelayMs));
    return net::SendAll(connection, answer.data(), answer.size());
}

void TSimulator::Record(const std::string& line, Clock::time_point receivedAt) {
    if (options_.KeepJournal) journal_.push_back({line, receivedAt});
    if (journalFile_.is_open()) journalFile_ << line << '\n' << std::flush;
}

}  // namespace tiger_sim
