// The Markdown conversion engine: the whole document in, the HTML that goes
// between the page's body tags out.
#pragma once

#include <string>
#include <string_view>

namespace help {

inline constexpr int kMarkdownClassic = 0;
inline constexpr int kMarkdownCommonMark = 1;

// Dialect kMarkdownCommonMark: CommonMark with tables; kMarkdownClassic: plain
// CommonMark without extensions. Any other dialect raises cf::Exception
// "Unknown Markdown dialect".
std::u16string MarkdownToHtml(std::u16string_view text, int dialect);

}  // namespace help
