#include "device/uCodePages.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace device {

namespace {

using THighHalf = std::array<char16_t, 128>;

// DOS Cyrillic.
constexpr THighHalf kCP866 = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B,
    0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439,
    0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C,
    0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x0440, 0x0441,
    0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4,
    0x25A0, 0x00A0,
};

// Windows Cyrillic; 0x98 is undefined (0 here).
constexpr THighHalf kCP1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C,
    0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122, 0x0459, 0x203A,
    0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9,
    0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415,
    0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431,
    0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D,
    0x044E, 0x044F,
};

// What a reader takes a character for when code page 866 lacks it: each
// stand-in with the characters it stands for. One character stays one byte,
// so field widths and cuts do not move.
struct TStandIn {
    char16_t StandIn;
    std::u16string_view Characters;
};

constexpr TStandIn kCP866StandIns[] = {
    // Quotation marks, apostrophes and primes.
    {u'"', u"«»„“”‟″"},
    {u'\'', u"‘’‚‛′"},
    // Hyphens, dashes and the minus sign.
    {u'-', u"\u2010\u2011\u2012\u2013\u2014\u2015\u2212"},
    {u'.', u"…"},
    // Typographic spaces; the no-break ones keep the page's own no-break space.
    {u' ', u"\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u2008\u2009\u200A\u205F\u3000"},
    {u'\u00A0', u"\u2007\u202F"},
    // Ukrainian and Belarusian letters the page lacks.
    {u'I', u"І"},
    {u'i', u"і"},
    {u'Г', u"Ґ"},
    {u'г', u"ґ"},
    // Latin letters with diacritics: the base letter.
    {u'A', u"ÀÁÂÃÄÅĀĂĄǍǞǠǺȀȂȦḀẠẢẤẦẨẪẬẮẰẲẴẶ"},
    {u'a', u"àáâãäåāăąǎǟǡǻȁȃȧḁạảấầẩẫậắằẳẵặ"},
    {u'B', u"ḂḄḆ"},
    {u'b', u"ḃḅḇ"},
    {u'C', u"ÇĆĈĊČḈ"},
    {u'c', u"çćĉċčḉ"},
    {u'D', u"ĎĐḊḌḎḐḒ"},
    {u'd', u"ďđḋḍḏḑḓ"},
    {u'E', u"ÈÉÊËĒĔĖĘĚȄȆȨḔḖḘḚḜẸẺẼẾỀỂỄỆ"},
    {u'e', u"èéêëēĕėęěȅȇȩḕḗḙḛḝẹẻẽếềểễệ"},
    {u'F', u"Ḟ"},
    {u'f', u"ḟ"},
    {u'G', u"ĜĞĠĢǦǴḠ"},
    {u'g', u"ĝğġģǧǵḡ"},
    {u'H', u"ĤĦȞḢḤḦḨḪ"},
    {u'h', u"ĥħȟḣḥḧḩḫẖ"},
    {u'I', u"ÌÍÎÏĨĪĬĮİǏȈȊḬḮỈỊ"},
    {u'i', u"ìíîïĩīĭįıǐȉȋḭḯỉị"},
    {u'J', u"Ĵ"},
    {u'j', u"ĵǰ"},
    {u'K', u"ĶǨḰḲḴ"},
    {u'k', u"ķǩḱḳḵ"},
    {u'L', u"ĹĻĽĿŁḶḸḺḼ"},
    {u'l', u"ĺļľŀłḷḹḻḽ"},
    {u'M', u"ḾṀṂ"},
    {u'm', u"ḿṁṃ"},
    {u'N', u"ÑŃŅŇǸṄṆṈṊ"},
    {u'n', u"ñńņňǹṅṇṉṋ"},
    {u'O', u"ÒÓÔÕÖØŌŎŐƠǑǪǬȌȎȪȬȮȰṌṎṐṒỌỎỐỒỔỖỘỚỜỞỠỢ"},
    {u'o', u"òóôõöøōŏőơǒǫǭȍȏȫȭȯȱṍṏṑṓọỏốồổỗộớờởỡợ"},
    {u'P', u"ṔṖ"},
    {u'p', u"ṕṗ"},
    {u'R', u"ŔŖŘȐȒṘṚṜṞ"},
    {u'r', u"ŕŗřȑȓṙṛṝṟ"},
    {u'S', u"ŚŜŞŠȘṠṢṤṦṨ"},
    {u's', u"śŝşšșṡṣṥṧṩ"},
    {u'T', u"ŢŤŦȚṪṬṮṰ"},
    {u't', u"ţťŧțṫṭṯṱẗ"},
    {u'U', u"ÙÚÛÜŨŪŬŮŰŲƯǓǕǗǙǛȔȖṲṴṶṸṺỤỦỨỪỬỮỰ"},
    {u'u', u"ùúûüũūŭůűųưǔǖǘǚǜȕȗṳṵṷṹṻụủứừửữự"},
    {u'V', u"ṼṾ"},
    {u'v', u"ṽṿ"},
    {u'W', u"ŴẀẂẄẆẈ"},
    {u'w', u"ŵẁẃẅẇẉẘ"},
    {u'X', u"ẊẌ"},
    {u'x', u"ẋẍ"},
    {u'Y', u"ÝŶŸȲẎỲỴỶỸ"},
    {u'y', u"ýÿŷȳẏẙỳỵỷỹ"},
    {u'Z', u"ŹŻŽẐẒẔ"},
    {u'z', u"źżžẑẓẕ"},
};

const THighHalf& HighHalf(TCodePage page) { return page == TCodePage::cp866 ? kCP866 : kCP1251; }

// The table turned around once, sorted by character, for encoding.
using TReverse = std::vector<std::pair<char16_t, uint8_t>>;

char EncodeUnit(char16_t unit, const TReverse& reverse) {
    if (unit < 0x80) return static_cast<char>(unit);
    const auto found = std::lower_bound(reverse.begin(), reverse.end(), std::make_pair(unit, uint8_t{0}));
    return found != reverse.end() && found->first == unit ? static_cast<char>(found->second) : '?';
}

TReverse MakeReverse(const THighHalf& table) {
    TReverse reverse;
    for (std::size_t i = 0; i < table.size(); ++i) reverse.emplace_back(table[i], static_cast<uint8_t>(0x80 + i));
    std::sort(reverse.begin(), reverse.end());
    return reverse;
}

// The page's own characters, then each lacking character with its stand-in's byte.
template <std::size_t N>
TReverse MakeReverse(const THighHalf& table, const TStandIn (&standIns)[N]) {
    TReverse reverse = MakeReverse(table);
    TReverse lacking;
    for (const TStandIn& standIn : standIns) {
        const auto byte = static_cast<uint8_t>(EncodeUnit(standIn.StandIn, reverse));
        for (char16_t c : standIn.Characters) {
            if (EncodeUnit(c, reverse) == '?') lacking.emplace_back(c, byte);
        }
    }
    reverse.insert(reverse.end(), lacking.begin(), lacking.end());
    std::sort(reverse.begin(), reverse.end());
    return reverse;
}

const TReverse& Reverse(TCodePage page) {
    static const TReverse k866 = MakeReverse(kCP866, kCP866StandIns);
    static const TReverse k1251 = MakeReverse(kCP1251);
    return page == TCodePage::cp866 ? k866 : k1251;
}

}  // namespace

std::string EncodeCodePage(std::u16string_view text, TCodePage page) {
    std::string out;
    AppendCodePage(out, text, page);
    return out;
}

void AppendCodePage(std::string& out, std::u16string_view text, TCodePage page) {
    const TReverse& reverse = Reverse(page);
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* next = out.data() + start;
    for (char16_t unit : text) *next++ = EncodeUnit(unit, reverse);
}

std::u16string DecodeCodePage(std::string_view bytes, TCodePage page) {
    const THighHalf& table = HighHalf(page);
    std::u16string out;
    out.reserve(bytes.size());
    for (char byte : bytes) {
        const auto value = static_cast<uint8_t>(byte);
        if (value < 0x80) {
            out += static_cast<char16_t>(value);
        } else {
            const char16_t unit = table[value - 0x80];
            out += unit != 0 ? unit : char16_t(0xFFFD);
        }
    }
    return out;
}

}  // namespace device
