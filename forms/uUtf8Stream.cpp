#include "forms/uUtf8Stream.h"

#include "lib/cf/TextUtils.h"

namespace forms {

namespace {

// Length of the sequence a lead byte starts; 1 for anything else.
std::size_t SequenceLength(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

// Where the last complete character ends.
std::size_t CompleteEnd(std::string_view bytes) {
    const std::size_t size = bytes.size();
    for (std::size_t back = 1; back <= 4 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
        return SequenceLength(byte) > back ? size - back : size;
    }
    return size;
}

}  // namespace

std::u16string TUtf8Stream::Decode(std::string_view ABytes) {
    FPending.append(ABytes);
    const std::size_t end = CompleteEnd(FPending);
    std::u16string text = cf::FromUtf8(std::string_view(FPending).substr(0, end));
    FPending.erase(0, end);
    return text;
}

}  // namespace forms
