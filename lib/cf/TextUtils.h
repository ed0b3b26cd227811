// Text helpers shared by the whole library: UTF-16 <-> UTF-8, letter case
// without the process locale, trimming and number texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cf {

std::string ToUtf8(std::u16string_view text);
// The number of bytes ToUtf8 makes of `text`.
std::size_t Utf8Length(std::u16string_view text);
// The same appended to `out`, which grows once.
void AppendUtf8(std::string& out, std::u16string_view text);
// Writes the Utf8Length(text) bytes of `text` at `out`; returns their end.
char* WriteUtf8(char* out, std::u16string_view text);
// Invalid UTF-8 sequences become U+FFFD.
std::u16string FromUtf8(std::string_view bytes);

// Upper case of Latin and Cyrillic letters (Ё/ё included); other units unchanged.
char16_t FoldCase(char16_t c);
// Equal ignoring letter case of Latin and Cyrillic letters.
bool SameText(std::u16string_view a, std::u16string_view b);
// Equal ignoring letter case of ASCII letters only.
bool AsciiSameText(std::u16string_view a, std::u16string_view b);

// Removes leading and trailing blanks and control characters (code units up to U+0020).
std::u16string Trim(std::u16string_view text);
// The same as a view into `text`, for texts too big to copy.
std::u16string_view TrimView(std::u16string_view text);

std::u16string IntToStr(int64_t value);
std::u16string UIntToStr(uint64_t value);

// Replaces every occurrence of `from` by `to`.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to);

}  // namespace cf
