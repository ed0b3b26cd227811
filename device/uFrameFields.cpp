#include "device/uFrameFields.h"

#include <array>

#include "device/uCodePages.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace device {

namespace {

constexpr std::array<uint16_t, 256> MakeCrcTable() {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i << 8;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        table[i] = static_cast<uint16_t>(crc);
    }
    return table;
}

constexpr std::array<uint16_t, 256> kCrcTable = MakeCrcTable();

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

TByteString IntToBytesLE(int ASize, int64_t AValue, std::u16string_view AField) {
    TByteString out;
    AppendIntLE(out, ASize, AValue, AField);
    return out;
}

void AppendIntLE(TByteString& AFrame, int ASize, int64_t AValue, std::u16string_view AField) {
    const uint64_t max = (uint64_t{1} << (8 * ASize)) - 1;
    if (AValue < 0 || static_cast<uint64_t>(AValue) > max) {
        const std::u16string field = AField.empty() ? std::u16string() : u" «" + std::u16string(AField) + u"»";
        throw cf::Exception(u"Значение поля" + field + u" вне допустимого диапазона 0.." + cf::UIntToStr(max) + u": " +
                            cf::IntToStr(AValue));
    }
    for (int i = 0; i < ASize; ++i) AFrame += static_cast<char>((static_cast<uint64_t>(AValue) >> (8 * i)) & 0xFF);
}

std::u16string PadText(std::u16string_view AText, int AWidth, char16_t AFill, int AAlign) {
    const std::size_t width = AWidth > 0 ? static_cast<std::size_t>(AWidth) : 0;
    if (AText.size() >= width) return std::u16string(AText.substr(0, width));
    const std::size_t fill = width - AText.size();
    switch (AAlign) {
        case taRight:
            return std::u16string(fill, AFill) + std::u16string(AText);
        case taLeft:
            return std::u16string(AText) + std::u16string(fill, AFill);
        case taCenter:
            return std::u16string(fill - fill / 2, AFill) + std::u16string(AText) + std::u16string(fill / 2, AFill);
        default:
            return std::u16string(AText);
    }
}

void AppendPaddedCP866(TByteString& AFrame, std::u16string_view AText, int AWidth, char AFill, int AAlign) {
    const std::size_t width = AWidth > 0 ? static_cast<std::size_t>(AWidth) : 0;
    const std::u16string_view text = AText.substr(0, width);
    const std::size_t fill = AAlign == taLeft || AAlign == taRight || AAlign == taCenter ? width - text.size() : 0;
    const std::size_t before = AAlign == taRight ? fill : AAlign == taCenter ? fill - fill / 2 : 0;
    AFrame.append(before, AFill);
    AppendCodePage(AFrame, text, TCodePage::cp866);
    AFrame.append(fill - before, AFill);
}

std::string StrToCP866(std::u16string_view AText) { return EncodeCodePage(AText, TCodePage::cp866); }

TByteString HexToBytes(std::u16string_view AText) {
    for (char16_t c : AText) {
        if (HexDigit(c) < 0) throw cf::EConvertError(u"Текст не является шестнадцатеричной записью данных");
    }
    TByteString out;
    out.reserve(AText.size() / 2);
    for (std::size_t i = 0; i + 1 < AText.size(); i += 2) {
        out += static_cast<char>(HexDigit(AText[i]) * 16 + HexDigit(AText[i + 1]));
    }
    return out;
}

std::u16string BytesToHex(std::string_view ABytes) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out(ABytes.size() * 2, u'0');
    char16_t* next = out.data();
    for (char byte : ABytes) {
        const auto value = static_cast<uint8_t>(byte);
        *next++ = kDigits[value >> 4];
        *next++ = kDigits[value & 0x0F];
    }
    return out;
}

uint16_t Crc16(std::string_view ABytes) {
    uint16_t crc = 0;
    for (char byte : ABytes) {
        crc = static_cast<uint16_t>(kCrcTable[((crc >> 8) ^ static_cast<uint8_t>(byte)) & 0xFF] ^ ((crc << 8) & 0xFFFF));
    }
    return crc;
}

int64_t PriceToHundredths(TCurrency APrice) {
    // Hundredths are the scaled value / 100; the remainder decides the rounding.
    int64_t quotient = APrice.Scaled / 100;
    int64_t remainder = APrice.Scaled % 100;
    if (remainder < 0) {
        remainder += 100;
        quotient -= 1;
    }
    if (remainder > 50 || (remainder == 50 && quotient % 2 != 0)) quotient += 1;
    return quotient;
}

std::u16string ExtractField(std::u16string_view AText, int AIndex) {
    int index = 0;
    std::size_t pos = 0;
    while (pos < AText.size()) {
        if (AText[pos] == u'|') {
            ++pos;
            continue;
        }
        const std::size_t end = std::min(AText.find(u'|', pos), AText.size());
        if (++index == AIndex) return std::u16string(AText.substr(pos, end - pos));
        pos = end;
    }
    return {};
}

}  // namespace device
