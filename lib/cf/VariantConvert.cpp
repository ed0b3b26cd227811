#include "lib/cf/VariantConvert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "lib/cf/DateTime.h"
#include "lib/cf/Exception.h"
#include "lib/cf/FormatSettings.h"
#include "lib/cf/TextUtils.h"

namespace cf {

namespace {

[[noreturn]] void RaiseNotA(std::u16string_view text, const char16_t* what) {
    throw EConvertError(u"'" + std::u16string(text) + u"' is not a valid " + what);
}

bool IsUnsigned(VarKind kind) {
    return kind == VarKind::UInt8 || kind == VarKind::UInt16 || kind == VarKind::UInt32 || kind == VarKind::UInt64;
}

bool IsInteger(const Variant& v) { return v.IsOrdinal() && v.Kind() != VarKind::Bool; }

double IntegerAsDouble(const Variant& v) {
    return v.Kind() == VarKind::UInt64 ? static_cast<double>(static_cast<uint64_t>(v.IntegerValue()))
                                       : static_cast<double>(v.IntegerValue());
}

// Numbers of every kind as a double; strings and arrays are not numbers here.
bool NumberOf(const Variant& v, double& number) {
    if (v.IsOrdinal()) number = IntegerAsDouble(v);
    else if (v.IsFloating() || v.Kind() == VarKind::Date) number = v.FloatValue();
    else return false;
    return true;
}

// Keeps only what a number may hold and swaps the process separator for ".".
bool ToAsciiNumber(std::u16string_view text, char16_t decimalSeparator, std::string& ascii) {
    ascii.clear();
    for (char16_t c : text) {
        if (c == decimalSeparator) ascii += '.';
        else if ((c >= u'0' && c <= u'9') || c == u'-' || c == u'+' || c == u'e' || c == u'E') ascii += static_cast<char>(c);
        else return false;
    }
    if (!ascii.empty() && ascii[0] == '+') ascii.erase(0, 1);
    return !ascii.empty();
}

int32_t RoundToInt32(double number, std::u16string_view shown) {
    const double rounded = std::nearbyint(number);  // the default rounding mode: half to even
    if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
        RaiseNotA(shown, u"integer value");
    return static_cast<int32_t>(rounded);
}

// Optional sign and decimal digits, nothing around them.
bool ParseInteger(std::u16string_view text, int64_t& value) {
    const bool negative = !text.empty() && text[0] == u'-';
    std::size_t i = !text.empty() && (text[0] == u'+' || text[0] == u'-') ? 1 : 0;
    if (i == text.size()) return false;
    const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') return false;
        const unsigned digit = text[i] - u'0';
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    value = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

// A decimal number as its significant digits times a power of ten.
struct Decimal {
    bool negative = false;
    std::string digits;    // no leading zeros: none at all for zero
    int64_t exponent = 0;  // the power of ten the digits are taken to
};

bool ParseDecimal(std::u16string_view text, char16_t separator, Decimal& number) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) number.negative = text[i++] == u'-';
    bool seenSeparator = false;
    bool seenDigit = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            seenDigit = true;
            if (!number.digits.empty() || c != u'0') number.digits += static_cast<char>(c);
            if (seenSeparator) --number.exponent;
        } else if (c == separator && !seenSeparator) {
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (!seenDigit) return false;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        int64_t exponent = 0;
        if (!ParseInteger(text.substr(i + 1), exponent) || exponent < INT32_MIN || exponent > INT32_MAX) return false;
        number.exponent += exponent;
        i = text.size();
    }
    return i == text.size();
}

// The count of ten-thousandths nearest to `number`, halves to the even one.
bool DecimalToCurrency(const Decimal& number, Currency& value) {
    constexpr int64_t kMaxDigits = 19;  // every 19-digit count fits 64 unsigned bits, with one to round up
    const std::string_view digits = number.digits;
    const int64_t shift = number.exponent + 4;  // four decimals: Currency::kScale
    // The digits left of the rounding point, zeros appended when the exponent asks for more.
    const int64_t whole = static_cast<int64_t>(digits.size()) + shift;
    if (digits.empty() || whole < 0) {  // zero, or below a tenth of a ten-thousandth
        value = Currency{};
        return true;
    }
    if (whole > kMaxDigits) return false;
    const std::size_t kept = std::min(static_cast<std::size_t>(whole), digits.size());
    uint64_t magnitude = 0;
    for (char digit : digits.substr(0, kept)) magnitude = magnitude * 10 + static_cast<unsigned>(digit - '0');
    for (int64_t i = static_cast<int64_t>(kept); i < whole; ++i) magnitude *= 10;
    if (const std::string_view dropped = digits.substr(kept); !dropped.empty()) {
        const bool moreThanHalf = dropped.find_first_not_of('0', 1) != std::string_view::npos;
        if (dropped[0] > '5' || (dropped[0] == '5' && (moreThanHalf || magnitude % 2 != 0))) ++magnitude;
    }
    if (magnitude > (number.negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1)) return false;
    value = static_cast<int64_t>(number.negative ? 0 - magnitude : magnitude);
    return true;
}

std::u16string Digits(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// "d.ddddddddddddddde±xx" split into its significant digits (no trailing zeros) and exponent.
void Decompose(double magnitude, std::string& digits, int& exponent) {
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof(buffer), magnitude, std::chars_format::scientific, 14).ptr;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t e = text.find('e');
    digits = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
}

std::u16string FixedForm(const std::string& digits, int exponent, char16_t separator) {
    if (exponent < 0) return u"0" + std::u16string(1, separator) + std::u16string(-exponent - 1, u'0') + Digits(digits);
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) return Digits(digits) + std::u16string(whole - digits.size(), u'0');
    return Digits(std::string_view(digits).substr(0, whole)) + separator + Digits(std::string_view(digits).substr(whole));
}

std::u16string ExponentForm(const std::string& digits, int exponent, char16_t separator) {
    std::u16string text = Digits(std::string_view(digits).substr(0, 1));
    if (digits.size() > 1) text += separator + Digits(std::string_view(digits).substr(1));
    return text + u"E" + IntToStr(exponent);
}

bool ReadField(std::u16string_view& text, char16_t separator, int& value, bool last) {
    std::size_t end = last ? text.size() : text.find(separator);
    if (end == std::u16string_view::npos) end = text.size();
    int64_t number = 0;
    if (end == 0 || end > 4 || !TryTextToInt64(text.substr(0, end), number) || number < 0) return false;
    value = static_cast<int>(number);
    text.remove_prefix(end < text.size() ? end + 1 : end);
    return true;
}

bool TryTextToTime(std::u16string_view text, DateTimeParts& parts) {
    const char16_t sep = FormatSettings().TimeSeparator;
    int hour = 0, minute = 0, second = 0;
    const bool hasSeconds = text.find(sep) != text.rfind(sep);
    if (!ReadField(text, sep, hour, false) || !ReadField(text, sep, minute, !hasSeconds)) return false;
    if (hasSeconds && !ReadField(text, sep, second, true)) return false;
    if (!text.empty() || hour > 23 || minute > 59 || second > 59) return false;
    parts.Hour = static_cast<uint16_t>(hour);
    parts.Minute = static_cast<uint16_t>(minute);
    parts.Second = static_cast<uint16_t>(second);
    return true;
}

bool TryTextToDateTime(std::u16string_view text, double& value) {
    const char16_t sep = FormatSettings().DateSeparator;
    const std::size_t blank = text.find(u' ');
    std::u16string_view date = text.substr(0, blank);
    int day = 0, month = 0, year = 0;
    if (!ReadField(date, sep, day, false) || !ReadField(date, sep, month, false) || !ReadField(date, sep, year, true) ||
        !date.empty() || !IsValidDate(year, month, day))
        return false;
    DateTimeParts parts;
    parts.Year = static_cast<uint16_t>(year);
    parts.Month = static_cast<uint16_t>(month);
    parts.Day = static_cast<uint16_t>(day);
    if (blank != std::u16string_view::npos && !TryTextToTime(Trim(text.substr(blank + 1)), parts)) return false;
    value = EncodeDateTime(parts);
    return true;
}

}  // namespace

bool TryTextToInt64(std::u16string_view text, int64_t& value) { return ParseInteger(TrimView(text), value); }

bool TryTextToCurrency(std::u16string_view text, char16_t decimalSeparator, Currency& value) {
    Decimal number;
    return ParseDecimal(TrimView(text), decimalSeparator, number) && DecimalToCurrency(number, value);
}

bool TryFloatToCurrency(double number, Currency& value) {
    const double scaled = std::nearbyint(number * Currency::kScale);
    if (!(std::fabs(scaled) < 9.2e18)) return false;
    value = static_cast<int64_t>(scaled);
    return true;
}

bool TryTextToFloat(std::u16string_view text, double& value) {
    std::string ascii;
    if (!ToAsciiNumber(Trim(text), FormatSettings().DecimalSeparator, ascii)) return false;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    return error == std::errc() && end == ascii.data() + ascii.size() && std::isfinite(value);
}

std::u16string FloatToStr(double value) {
    if (std::isnan(value)) return u"NAN";
    if (std::isinf(value)) return value > 0 ? u"INF" : u"-INF";
    if (value == 0) return u"0";
    std::string digits;
    int exponent = 0;
    Decompose(std::fabs(value), digits, exponent);
    const char16_t separator = FormatSettings().DecimalSeparator;
    const std::u16string text = exponent < -5 || exponent >= 15 ? ExponentForm(digits, exponent, separator)
                                                               : FixedForm(digits, exponent, separator);
    return value < 0 ? u"-" + text : text;
}

std::u16string CurrToStr(Currency value, char16_t decimalSeparator) {
    const int64_t scaled = value.Scaled;
    const uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::u16string text = UIntToStr(magnitude / Currency::kScale);
    if (const uint64_t fraction = magnitude % Currency::kScale; fraction != 0) {
        std::u16string decimals = UIntToStr(fraction + Currency::kScale).substr(1);
        while (decimals.back() == u'0') decimals.pop_back();
        text += decimalSeparator + decimals;
    }
    return scaled < 0 ? u"-" + text : text;
}

std::u16string VarToStr(const Variant& v) {
    switch (v.Kind()) {
        case VarKind::Empty:
        case VarKind::Null: return {};
        case VarKind::Bool: return v.BoolValue() ? u"True" : u"False";
        case VarKind::String: return v.StringValue();
        case VarKind::Currency: return CurrToStr(v.CurrencyValue(), FormatSettings().DecimalSeparator);
        case VarKind::Date: return DateTimeToStr(v.FloatValue());
        case VarKind::Single:
        case VarKind::Double: return FloatToStr(v.FloatValue());
        case VarKind::Array: throw EConvertError(u"Массив нельзя представить текстом");
        default:
            return IsUnsigned(v.Kind()) ? UIntToStr(static_cast<uint64_t>(v.IntegerValue())) : IntToStr(v.IntegerValue());
    }
}

bool VarToBool(const Variant& v) {
    if (v.IsEmpty() || v.IsNull()) return false;
    double number = 0;
    if (NumberOf(v, number)) return number != 0;
    if (!v.IsString()) throw EConvertError(u"Значение нельзя преобразовать в логическое");
    const std::u16string text = Trim(v.StringValue());
    if (AsciiSameText(text, u"true")) return true;
    if (AsciiSameText(text, u"false")) return false;
    if (!TryTextToFloat(text, number)) RaiseNotA(v.StringValue(), u"boolean value");
    return number != 0;
}

int32_t VarToInt32(const Variant& v) {
    if (v.IsEmpty() || v.IsNull()) return 0;
    if (IsInteger(v) || v.Kind() == VarKind::Bool) {
        const double number = IntegerAsDouble(v);
        return RoundToInt32(number, IsUnsigned(v.Kind()) ? UIntToStr(static_cast<uint64_t>(v.IntegerValue()))
                                                         : IntToStr(v.IntegerValue()));
    }
    if (v.Kind() == VarKind::Currency) return RoundToInt32(v.FloatValue(), VarToStr(v));
    double number = 0;
    if (NumberOf(v, number)) return RoundToInt32(number, FloatToStr(number));
    if (!v.IsString()) throw EConvertError(u"Значение нельзя преобразовать в целое число");
    int64_t whole = 0;
    if (TryTextToInt64(v.StringValue(), whole)) return RoundToInt32(static_cast<double>(whole), v.StringValue());
    if (!TryTextToFloat(v.StringValue(), number)) RaiseNotA(v.StringValue(), u"integer value");
    return RoundToInt32(number, v.StringValue());
}

double VarToDouble(const Variant& v) {
    if (v.IsEmpty() || v.IsNull()) return 0;
    double number = 0;
    if (NumberOf(v, number)) return number;
    if (!v.IsString()) throw EConvertError(u"Значение нельзя преобразовать в число");
    if (!TryTextToFloat(v.StringValue(), number)) RaiseNotA(v.StringValue(), u"floating point value");
    return number;
}

Currency VarToCurrency(const Variant& v) {
    if (v.Kind() == VarKind::Currency) return v.CurrencyValue();
    if (IsInteger(v) && !IsUnsigned(v.Kind())) {
        const int64_t whole = v.IntegerValue();
        if (whole > INT64_MAX / Currency::kScale || whole < INT64_MIN / Currency::kScale)
            RaiseNotA(IntToStr(whole), u"currency value");
        return whole * Currency::kScale;
    }
    Currency value;
    if (v.IsString()) {
        if (!TryTextToCurrency(v.StringValue(), FormatSettings().DecimalSeparator, value))
            RaiseNotA(v.StringValue(), u"currency value");
        return value;
    }
    const double number = VarToDouble(v);
    if (!TryFloatToCurrency(number, value)) RaiseNotA(FloatToStr(number), u"currency value");
    return value;
}

double VarToDateTime(const Variant& v) {
    if (v.IsEmpty() || v.IsNull()) return 0;
    double number = 0;
    if (NumberOf(v, number)) return number;
    if (!v.IsString()) throw EConvertError(u"Значение нельзя преобразовать в дату");
    if (!TryTextToDateTime(Trim(v.StringValue()), number)) RaiseNotA(v.StringValue(), u"date and time");
    return number;
}

}  // namespace cf
