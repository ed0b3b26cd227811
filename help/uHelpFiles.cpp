#include "help/uHelpFiles.h"

namespace help {

namespace {

void AppendHex(std::u16string& out, uint64_t value, int digits) {
    static const char16_t kDigits[] = u"0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

}  // namespace

std::u16string GuidToText(const TGuid& guid) {
    std::u16string text = u"{";
    AppendHex(text, guid.Data1, 8);
    text += u'-';
    AppendHex(text, guid.Data2, 4);
    text += u'-';
    AppendHex(text, guid.Data3, 4);
    text += u'-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2) text += u'-';
        AppendHex(text, guid.Data4[i], 2);
    }
    return text + u"}";
}

}  // namespace help
