#include "common/uPaths.h"

#include "lib/cf/TextUtils.h"

namespace common {

bool IsRootedPath(std::u16string_view path) {
    if (path.empty()) return false;
    if (IsPathDelimiter(path[0])) return true;
    const bool letter = (path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z');
    return letter && path.size() >= 2 && IsDriveDelimiter(path[1]);
}

std::u16string IncludeTrailingPathDelimiter(std::u16string_view path) {
    std::u16string result(path);
    if (result.empty() || !IsPathDelimiter(result.back())) result += PathDelim();
    return result;
}

std::u16string ExtractFileName(std::u16string_view path) {
    std::size_t start = path.size();
    while (start > 0 && !IsPathDelimiter(path[start - 1]) && !IsDriveDelimiter(path[start - 1])) --start;
    return std::u16string(path.substr(start));
}

std::u16string ExtractFileStem(std::u16string_view path) {
    std::u16string name = ExtractFileName(path);
    const std::size_t dot = name.rfind(u'.');
    if (dot != std::u16string::npos) name.erase(dot);
    return name;
}

std::size_t PathLength(std::u16string_view text, const TPathLimits& limits) {
    return limits.CountsUtf8Bytes ? cf::ToUtf8(text).size() : text.size();
}

}  // namespace common
