// The simulator's command line.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace tiger_sim {

struct TSimOptions {
    uint16_t Port = 0;             // 0: a free port
    std::string StateFile;         // UTF-8 path; empty: none
    std::string JournalFile;       // UTF-8 path; empty: none
    std::set<uint64_t> RefuseAt;   // frame numbers (from 1) answered 0x15
    std::set<uint64_t> CloseAt;    // frame numbers that drop the connection
    std::set<uint64_t> SilentAt;   // frame numbers never answered
    int DelayMs = 0;               // every answer this much late
    // Keep every journal entry in memory for Journal(): for tests that embed
    // the simulator. The process never does, so it can run for days.
    bool KeepJournal = false;
    bool Help = false;
};

// Raises std::invalid_argument with a one-line reason.
TSimOptions ParseOptions(const std::vector<std::string>& args);
std::string HelpText();

}  // namespace tiger_sim
