#include "lib/cf/TextUtils.h"

#include <cstring>

namespace cf {

namespace {

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point at text[i], advancing i past it; a lone surrogate has no
// UTF-8 form and becomes U+FFFD.
uint32_t NextCodePoint(std::u16string_view text, std::size_t& i) {
    const uint32_t unit = text[i++];
    if (IsHighSurrogate(unit) && i < text.size() && IsLowSurrogate(text[i]))
        return 0x10000 + ((unit - 0xD800) << 10) + (text[i++] - 0xDC00);
    return IsHighSurrogate(unit) || IsLowSurrogate(unit) ? 0xFFFD : unit;
}

// Exact for any text, surrogates included.
std::size_t Utf8LengthWithSurrogates(std::u16string_view text) {
    std::size_t length = text.size();  // one byte per unit, plus what wider characters add
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit < 0x80) continue;
        if (unit < 0x800) {
            length += 1;
        } else if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            length += 2;  // a pair's two units make four bytes
            ++i;
        } else {
            length += 2;  // three bytes, U+FFFD for a lone surrogate too
        }
    }
    return length;
}

}  // namespace

// Four units at a time where they are all ASCII (hexadecimal dumps, markup,
// numbers): log lines measure hundreds of units per upload record.
std::size_t Utf8Length(std::u16string_view text) {
    std::size_t length = text.size();
    bool surrogates = false;
    const auto add = [&](char16_t unit) {
        length += static_cast<std::size_t>(unit >= 0x80) + static_cast<std::size_t>(unit >= 0x800);
        surrogates |= (unit & 0xF800) == 0xD800;
    };
    std::size_t i = 0;
    for (; i + 4 <= text.size(); i += 4) {
        uint64_t quad;
        std::memcpy(&quad, text.data() + i, sizeof quad);
        if ((quad & 0xFF80FF80FF80FF80u) == 0) continue;
        for (std::size_t k = i; k < i + 4; ++k) add(text[k]);
    }
    for (; i < text.size(); ++i) add(text[i]);
    return surrogates ? Utf8LengthWithSurrogates(text) : length;
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    AppendUtf8(out, text);
    return out;
}

// Measured first, then written straight into the string: texts here reach
// tens of megabytes (a whole document in a trace line).
void AppendUtf8(std::string& out, std::u16string_view text) {
    const std::size_t start = out.size();
    out.resize(start + Utf8Length(text));
    WriteUtf8(out.data() + start, text);
}

char* WriteUtf8(char* next, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // Runs of ASCII copied in a tight loop.
        while (i < text.size() && text[i] < 0x80) *next++ = static_cast<char>(text[i++]);
        if (i == text.size()) break;
        const uint32_t cp = NextCodePoint(text, i);
        if (cp < 0x800) {
            *next++ = static_cast<char>(0xC0 | (cp >> 6));
            *next++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *next++ = static_cast<char>(0xE0 | (cp >> 12));
            *next++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *next++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *next++ = static_cast<char>(0xF0 | (cp >> 18));
            *next++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *next++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *next++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return next;
}

namespace {

// Length of the sequence a lead byte starts, 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

void AppendCodePoint(std::u16string& out, uint32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

}  // namespace

std::u16string FromUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int len = SequenceLength(lead);
        if (len == 1) {
            out += lead;
            ++i;
            continue;
        }
        uint32_t cp = len == 2 ? (lead & 0x1F) : len == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = len > 0 && i + len <= bytes.size();
        for (int k = 1; valid && k < len; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        const uint32_t minimum = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
        if (valid && cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF)) {
            AppendCodePoint(out, cp);
            i += len;
        } else {
            out += u'\xFFFD';
            ++i;
        }
    }
    return out;
}

char16_t FoldCase(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if (c >= 0x0430 && c <= 0x044F) return static_cast<char16_t>(c - 0x20);  // а..я
    if (c >= 0x0450 && c <= 0x045F) return static_cast<char16_t>(c - 0x50);  // ѐ..џ, ё included
    return c;
}

bool SameText(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

bool AsciiSameText(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

std::u16string Trim(std::u16string_view text) { return std::u16string(TrimView(text)); }

std::u16string_view TrimView(std::u16string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] <= u' ') ++first;
    while (last > first && text[last - 1] <= u' ') --last;
    return text.substr(first, last - first);
}

std::u16string UIntToStr(uint64_t value) {
    char16_t buffer[24];
    std::size_t pos = sizeof(buffer) / sizeof(buffer[0]);
    do {
        buffer[--pos] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    return std::u16string(buffer + pos, buffer + sizeof(buffer) / sizeof(buffer[0]));
}

std::u16string IntToStr(int64_t value) {
    if (value >= 0) return UIntToStr(static_cast<uint64_t>(value));
    return u"-" + UIntToStr(0 - static_cast<uint64_t>(value));
}

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
    std::u16string out;
    if (from.empty()) return std::u16string(text);
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::u16string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace cf
