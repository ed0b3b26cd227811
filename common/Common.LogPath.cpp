#include "common/Common.LogPath.h"

#include "common/uPaths.h"
#include "lib/cf/TextUtils.h"

namespace common {

namespace {

std::u16string Padded(unsigned value, std::size_t width) {
    std::u16string text = cf::UIntToStr(value);
    if (text.size() < width) text.insert(0, width - text.size(), u'0');
    return text;
}

std::u16string FolderOf(const TLogPathInputs& in, const std::u16string& stem) {
    if (IsRootedPath(in.FolderOverride)) return in.FolderOverride;
    if (in.LogFolder.empty()) return in.CommonAppData() + in.LogVendorFolder + PathDelim() + stem;
    if (IsRootedPath(in.LogFolder)) return in.LogFolder;
    return in.CommonAppData() + in.LogFolder;
}

// "_yyyy.mm.dd.log" after the stem.
constexpr std::size_t kDateSuffixLength = 15;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

std::u16string FitLogStem(std::u16string stem, std::u16string_view folder, const TPathLimits& limits) {
    const std::size_t folderLength = PathLength(folder, limits);
    auto fits = [&] {
        const std::size_t name = PathLength(stem, limits) + kDateSuffixLength;
        return name <= limits.MaxName && folderLength + name <= limits.MaxPath;
    };
    while (!stem.empty() && !fits()) {
        stem.pop_back();
        if (!stem.empty() && IsHighSurrogate(stem.back())) stem.pop_back();
    }
    return stem;
}

TLogPath ResolveLogPath(const TLogPathInputs& in) {
    TLogPath path;
    if (IsRootedPath(in.LogFileStem)) {
        path.RootedStem = true;
        path.Folder = path.Stem = in.LogFileStem;
        return path;
    }
    path.Stem = ExtractFileStem(in.LogFileStem.empty() ? in.ModulePath : in.LogFileStem);
    path.Folder = IncludeTrailingPathDelimiter(FolderOf(in, path.Stem));
    path.Stem = FitLogStem(std::move(path.Stem), path.Folder, in.Limits);
    return path;
}

std::u16string FormatLogDate(const cf::DateTimeParts& d) {
    return Padded(d.Year, 4) + u"." + Padded(d.Month, 2) + u"." + Padded(d.Day, 2);
}

// Every log line starts with one: written digit by digit into one buffer.
std::u16string FormatLogTimestamp(const cf::DateTimeParts& t, char16_t sep) {
    char16_t text[23];
    const auto put = [&text](std::size_t at, unsigned value, std::size_t width) {
        for (std::size_t i = width; i-- > 0; value /= 10) text[at + i] = static_cast<char16_t>(u'0' + value % 10);
    };
    put(0, t.Year, 4);
    text[4] = u'.';
    put(5, t.Month, 2);
    text[7] = u'.';
    put(8, t.Day, 2);
    text[10] = u' ';
    put(11, t.Hour, 2);
    text[13] = sep;
    put(14, t.Minute, 2);
    text[16] = sep;
    put(17, t.Second, 2);
    text[19] = u'.';
    put(20, t.Millisecond, 3);
    return std::u16string(text, 23);
}

std::u16string LogFileName(const TLogPath& path, const cf::DateTimeParts& today) {
    if (path.RootedStem) return path.Stem;
    return path.Folder + path.Stem + u"_" + FormatLogDate(today) + u".log";
}

}  // namespace common
