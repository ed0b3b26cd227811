// Encoders that turn numbers and texts into scale frame fields, the frame
// checksum, and the "|"-field extractor.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/cf/Currency.h"

namespace device {

// Frames, answers and single-byte texts: bytes carried with their length.
using TByteString = std::string;

// Prices, in the host's currency.
using TCurrency = cf::Currency;

// An unsigned number of ASize bytes (1, 2 or 4), least significant first.
// A value outside 0 .. 2^(8*ASize)-1 is refused naming AField, so a field can
// never spill into its neighbours.
TByteString IntToBytesLE(int ASize, int64_t AValue, std::u16string_view AField = u"");
// The same appended to AFrame.
void AppendIntLE(TByteString& AFrame, int ASize, int64_t AValue, std::u16string_view AField = u"");

enum TAlign : int { taRight = 0, taLeft = 1, taCenter = 2 };
// Cuts AText to AWidth units or fills it with AFill; any AAlign other than
// 0..2 leaves a short text unfilled.
std::u16string PadText(std::u16string_view AText, int AWidth, char16_t AFill, int AAlign);
// StrToCP866(PadText(...)) appended to AFrame without the intermediate texts;
// AFill must be ASCII.
void AppendPaddedCP866(TByteString& AFrame, std::u16string_view AText, int AWidth, char AFill, int AAlign);

std::string StrToCP866(std::u16string_view AText);

// Two hex digits per byte, high nibble first; an odd last digit is ignored.
// Raises cf::EConvertError when the text holds anything but hex digits.
TByteString HexToBytes(std::u16string_view AText);
// Upper-case digits, no separators.
std::u16string BytesToHex(std::string_view ABytes);

// CRC-16/XMODEM: polynomial 0x1021, initial 0, no reflection, no final XOR.
uint16_t Crc16(std::string_view ABytes);

// Price in hundredths, halves to the even neighbour, computed on the exact
// decimal value.
int64_t PriceToHundredths(TCurrency APrice);

// Field AIndex (from 1) of a "|"-separated text; empty fields are not counted.
std::u16string ExtractField(std::u16string_view AText, int AIndex);

}  // namespace device
