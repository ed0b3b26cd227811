#include "driver/XmlDocuments.h"

#include <cmath>
#include <sstream>

#include "lib/cf/Exception.h"
#include "lib/cf/FormatSettings.h"
#include "lib/cf/TextUtils.h"

namespace driver {

namespace {

[[noreturn]] void ThrowParseError(const pugi::xml_parse_result& result) {
    throw cf::Exception(u"Ошибка разбора XML: " + cf::FromUtf8(result.description()) + u" (позиция " +
                        cf::IntToStr(result.offset) + u")");
}

// The value's text (a view of the value's own, or of `storage` for a number),
// or nothing for a value that has none we read.
bool TextOf(const cf::Variant& value, std::u16string& storage, std::u16string_view& text) {
    if (value.IsString()) {
        text = value.StringValue();
        return true;
    }
    if (value.IsOrdinal()) {
        storage = cf::IntToStr(value.IntegerValue());
        text = storage;
        return true;
    }
    return false;
}

bool ParseInt32(std::u16string_view text, int32_t& result) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    if (i == text.size()) return false;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') return false;
        magnitude = magnitude * 10 + (text[i] - u'0');
        if (magnitude > 2147483648LL) return false;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return false;
    result = static_cast<int32_t>(value);
    return true;
}

// Decimal text to a value scaled by 10000, the last step rounding halves to even.
bool ParseCurrency(std::u16string_view text, char16_t decimalSeparator, int64_t& result) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    std::string digits;  // all significant digits, integer part then fraction
    int fractionDigits = 0;
    bool seenSeparator = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits += static_cast<char>(c);
            if (seenSeparator) ++fractionDigits;
        } else if (c == decimalSeparator && !seenSeparator) {
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (digits.empty()) return false;
    int exponent = 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        int32_t parsed = 0;
        if (!ParseInt32(text.substr(i + 1), parsed) || parsed > 40 || parsed < -40) return false;
        exponent = parsed;
        i = text.size();
    }
    if (i != text.size()) return false;
    // value = digits * 10^(exponent - fractionDigits); we want value * 10^4.
    int shift = exponent - fractionDigits + 4;
    while (shift > 0) {
        digits += '0';
        --shift;
    }
    std::string kept = digits;
    std::string dropped;
    if (shift < 0) {
        const std::size_t drop = static_cast<std::size_t>(-shift);
        if (digits.size() < drop) digits.insert(0, drop - digits.size(), '0');
        kept = digits.substr(0, digits.size() - drop);
        dropped = digits.substr(digits.size() - drop);
    }
    // Too many digits for 64 bits: not a currency value.
    const std::size_t firstNonZero = kept.find_first_not_of('0');
    if (firstNonZero != std::string::npos && kept.size() - firstNonZero > 18) return false;
    int64_t scaled = 0;
    for (char d : kept) scaled = scaled * 10 + (d - '0');
    if (!dropped.empty()) {
        const bool aboveHalf = dropped[0] > '5' || (dropped[0] == '5' && dropped.find_first_not_of('0', 1) != std::string::npos);
        const bool exactHalf = dropped[0] == '5' && dropped.find_first_not_of('0', 1) == std::string::npos;
        if (aboveHalf || (exactHalf && scaled % 2 != 0)) ++scaled;
    }
    result = negative ? -scaled : scaled;
    return true;
}

}  // namespace

int32_t TextToIntDef(std::u16string_view text, int32_t defaultValue) {
    int32_t result = 0;
    return ParseInt32(cf::TrimView(text), result) ? result : defaultValue;
}

int64_t TextToCurrDef(std::u16string_view text, int64_t defaultScaled) {
    int64_t result = 0;
    return ParseCurrency(cf::TrimView(text), cf::FormatSettings().DecimalSeparator, result) ? result : defaultScaled;
}

bool TextToBoolDef(std::u16string_view text, bool defaultValue) {
    if (cf::AsciiSameText(text, u"True")) return true;
    if (cf::AsciiSameText(text, u"False")) return false;
    return defaultValue;
}

int32_t VarToIntDef(const cf::Variant& value, int32_t defaultValue) {
    std::u16string storage;
    std::u16string_view text;
    return TextOf(value, storage, text) ? TextToIntDef(text, defaultValue) : defaultValue;
}

int64_t VarToCurrDef(const cf::Variant& value, int64_t defaultScaled) {
    if (value.IsFloating() || value.Kind() == cf::VarKind::Double) {
        if (value.Kind() == cf::VarKind::Currency) return value.CurrencyScaled();
        const double scaled = value.FloatValue() * 10000.0;
        if (!(scaled > -9.2e18 && scaled < 9.2e18)) return defaultScaled;
        return static_cast<int64_t>(std::nearbyint(scaled));
    }
    std::u16string storage;
    std::u16string_view text;
    return TextOf(value, storage, text) ? TextToCurrDef(text, defaultScaled) : defaultScaled;
}

bool VarToBoolDef(const cf::Variant& value, bool defaultValue) {
    if (value.IsString()) return TextToBoolDef(value.StringValue(), defaultValue);
    if (value.IsOrdinal()) return value.IntegerValue() != 0;
    if (value.IsFloating()) return value.FloatValue() != 0;
    return defaultValue;
}

void ParseXmlUtf8(std::string_view bytes, pugi::xml_document& document) {
    const pugi::xml_parse_result result =
        document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!result) ThrowParseError(result);
}

std::u16string XmlToText(const pugi::xml_document& document) {
    std::ostringstream out;
    document.save(out, "\t", pugi::format_default | pugi::format_no_declaration, pugi::encoding_utf8);
    std::string body = out.str();
    // The declaration always carries version 1.0 and no encoding.
    const std::string text = "<?xml version=\"1.0\"?>\n" + body;
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return cf::FromUtf8(crlf);
}

void SetAttribute(pugi::xml_node node, const char* name, std::u16string_view value) {
    node.append_attribute(name) = cf::ToUtf8(value).c_str();
}

void SetBoolAttribute(pugi::xml_node node, const char* name, bool value) {
    node.append_attribute(name) = value ? "true" : "false";
}

}  // namespace driver
