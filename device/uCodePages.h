// Single-byte code pages the scale and the label template file use. The
// tables are data: one 128-entry table per page for the bytes 0x80..0xFF.
#pragma once

#include <string>
#include <string_view>

namespace device {

enum class TCodePage { cp866, cp1251 };

// One byte per UTF-16 unit. A character code page 866 lacks is sent as the one
// a reader takes for it (« as ", — as -, é as e); one without such a stand-in,
// and any character code page 1251 lacks, becomes "?".
std::string EncodeCodePage(std::u16string_view text, TCodePage page);
// The same appended to `out`.
void AppendCodePage(std::string& out, std::u16string_view text, TCodePage page);
// Bytes the page leaves undefined become U+FFFD.
std::u16string DecodeCodePage(std::string_view bytes, TCodePage page);

}  // namespace device
