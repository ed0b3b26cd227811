// A second process for the log tests: appends numbered entries to the shared
// log file in the folder given; with "hold" all under one TLogHold, a pause of
// 0.1 ms after each standing for an upload's work between its lines.
// Usage: log_append_helper FOLDER TAG COUNT [hold]
#include <chrono>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "common/Common.Log.h"
#include "lib/cf/TextUtils.h"

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) return 2;
    try {
        common::SetLogFolder(cf::FromUtf8(argv[1]));
        common::SetLogFileStem(u"shared");
        common::SetLogMode(common::TLogMode::lmAll);
        const std::u16string tag = cf::FromUtf8(argv[2]);
        const int count = std::atoi(argv[3]);
        std::optional<common::TLogHold> hold;
        if (argc == 5 && std::string(argv[4]) == "hold") hold.emplace();
        for (int i = 0; i < count; ++i) {
            common::WriteLog(tag + u" " + cf::IntToStr(i), u"", common::TLogLevel::llInfo);
            if (hold) std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
