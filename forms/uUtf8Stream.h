// Decodes a growing UTF-8 byte stream piece by piece: a sequence cut at the
// end of a piece waits for the rest, so the pieces decode to the same text as
// the whole.
#pragma once

#include <string>
#include <string_view>

namespace forms {

class TUtf8Stream {
public:
    // The text of every complete character up to the end of ABytes.
    std::u16string Decode(std::string_view ABytes);
    void Reset() { FPending.clear(); }

private:
    std::string FPending;
};

}  // namespace forms
