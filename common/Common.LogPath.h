// Where the log goes: the stem and folder rules, apart from the disk so that
// every rule can be checked on its own.
#pragma once

#include <functional>
#include <string>

#include "common/uPaths.h"
#include "lib/cf/DateTime.h"

namespace common {

struct TLogPathInputs {
    std::u16string LogFileStem;
    std::u16string LogFolder;
    std::u16string LogVendorFolder;
    // W_QUORLAN7T4P_LOG_DIR; used only when rooted.
    std::u16string FolderOverride;
    // The library's own file name, for an empty stem.
    std::u16string ModulePath;
    // The common application data folder with its trailing separator; asked only when a rule needs it.
    std::function<std::u16string()> CommonAppData;
    // A stem too long for these is cut, so that the file can always be named.
    TPathLimits Limits = SystemPathLimits();
};

struct TLogPath {
    // A rooted stem names the file itself; Folder and FileName are then both the stem.
    bool RootedStem = false;
    std::u16string Folder;  // with a trailing separator
    std::u16string Stem;
};

TLogPath ResolveLogPath(const TLogPathInputs& inputs);
// The stem cut (never inside a surrogate pair) so that the folder, the stem and
// "_yyyy.mm.dd.log" keep within the limits of a path and of a file name.
std::u16string FitLogStem(std::u16string stem, std::u16string_view folder, const TPathLimits& limits);
// "%s%s_%s.log" from folder, stem and the date as "yyyy.mm.dd".
std::u16string LogFileName(const TLogPath& path, const cf::DateTimeParts& today);
// "yyyy.mm.dd"
std::u16string FormatLogDate(const cf::DateTimeParts& date);
// "yyyy.mm.dd hh:nn:ss.zzz" with the locale's time separator in place of ":".
std::u16string FormatLogTimestamp(const cf::DateTimeParts& time, char16_t timeSeparator);

}  // namespace common
