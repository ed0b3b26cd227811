// A second process for the log tests: appends numbered entries to the shared
// log file in the folder given. Usage: log_append_helper FOLDER TAG COUNT
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "common/Common.Log.h"
#include "lib/cf/TextUtils.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    try {
        common::SetLogFolder(cf::FromUtf8(argv[1]));
        common::SetLogFileStem(u"shared");
        common::SetLogMode(common::TLogMode::lmAll);
        const std::u16string tag = cf::FromUtf8(argv[2]);
        const int count = std::atoi(argv[3]);
        for (int i = 0; i < count; ++i) common::WriteLog(tag + u" " + cf::IntToStr(i), u"", common::TLogLevel::llInfo);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
