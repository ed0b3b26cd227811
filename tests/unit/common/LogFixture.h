// A log pointed at a private folder, with a clock the test sets.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Common.Log.h"
#include "tests/unit/common/LogTestSupport.h"

namespace log_tests {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        UnsetEnvironment(common::kLogDirVariable);
        common::SetLogMode(common::TLogMode::lmOff);
        common::SetLogFolder(folder.Path());
        common::SetLogFileStem(u"test");
        now = cf::DateTimeParts{2026, 12, 7, 10, 15, 2, 47};
        common::SetLogClock(&Clock);
    }
    void TearDown() override {
        common::SetLogMode(common::TLogMode::lmOff);
        common::LogModuleStop();
        common::SetLogClock(nullptr);
        UnsetEnvironment(common::kLogDirVariable);
    }

    static cf::DateTimeParts Clock() { return now; }
    // Today's file as the folder and stem rules name it.
    std::u16string TodaysFile() const { return folder.Path() + u"test_2026.12.07.log"; }
    std::vector<std::string> Lines(const std::u16string& file) const { return CrLfLines(ReadFileBytes(file)); }

    static inline cf::DateTimeParts now;
    TempFolder folder;
};

// The six start-banner lines come first in a file.
inline constexpr std::size_t kBannerLines = 6;

}  // namespace log_tests
