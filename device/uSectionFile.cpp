#include "device/uSectionFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "device/uSystemCodePages.h"

namespace device {

namespace {

std::optional<std::u16string> ReadDecoded(std::u16string_view fileName) {
    std::ifstream file(std::filesystem::path(std::u16string(fileName)), std::ios::binary);
    if (!file) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return AnsiToText(bytes);
}

}  // namespace

std::u16string ReadFileSection(std::u16string_view AFileName, std::u16string_view AName,
                               std::u16string_view ADefault) {
    const std::optional<std::u16string> text = ReadDecoded(AFileName);
    if (!text) return std::u16string(ADefault);
    const std::u16string name(AName);
    const std::u16string opening = u"[" + name + u"]\r\n";
    const std::u16string closing = u"\r\n[/" + name + u"]\r\n";
    const std::size_t open = text->find(opening);
    const std::size_t close = text->find(closing);
    if (open == std::u16string::npos || close == std::u16string::npos) return std::u16string(ADefault);
    const std::size_t start = open + opening.size();
    if (close <= start) return std::u16string(ADefault);
    return text->substr(start, close - start);
}

void ReadFileSectionNames(std::u16string_view AFileName, std::vector<std::u16string>& AList) {
    const std::optional<std::u16string> text = ReadDecoded(AFileName);
    if (!text) return;
    std::u16string_view rest(*text);
    while (true) {
        const std::size_t open = rest.find(u'[');
        const std::size_t close = rest.find(u']');
        if (open == std::u16string_view::npos || close == std::u16string_view::npos) return;
        // A "]" before the next "[" yields an empty piece, as the text between them is taken.
        const std::u16string_view piece = open < close ? rest.substr(open + 1, close - open - 1) : std::u16string_view();
        if (!piece.empty() && piece.front() != u'/') AList.emplace_back(piece);
        rest.remove_prefix(close + 1);
    }
}

}  // namespace device
