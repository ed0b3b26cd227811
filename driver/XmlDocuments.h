// XML documents exchanged with the platform: reading attributes of its input
// tables with defaults (the tables themselves stream through
// XmlTableReader.h), parsing the documents the driver carries, and writing
// documents back as text with an XML declaration and CR LF line ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "lib/cf/Variant.h"

namespace driver {

// The readers' mark for a missing or unreadable value.
inline constexpr int32_t kMissingValue = -999999;

// Null or empty: the default. Otherwise the trimmed text as a 32-bit decimal integer, else the default.
int32_t VarToIntDef(const cf::Variant& value, int32_t defaultValue);
// Currency (scaled by 10000): the text as a decimal number with the process
// decimal separator, rounded to four decimals; anything else the default.
int64_t VarToCurrDef(const cf::Variant& value, int64_t defaultScaled);
// Text "True"/"False" in any ASCII letter case; other texts the default.
bool VarToBoolDef(const cf::Variant& value, bool defaultValue);

// The same readers on a string value's text, for attributes read in place:
// the empty text gives the default, as null does above.
int32_t TextToIntDef(std::u16string_view text, int32_t defaultValue);
int64_t TextToCurrDef(std::u16string_view text, int64_t defaultScaled);
bool TextToBoolDef(std::u16string_view text, bool defaultValue);

// Parses UTF-8 bytes, with or without a byte-order mark; a text that is not
// well-formed raises the parser's message. The declaration is not kept:
// XmlToText writes its own.
void ParseXmlUtf8(std::string_view bytes, pugi::xml_document& document);

// The document as the platform receives it: declaration with version 1.0, CR LF after every line.
std::u16string XmlToText(const pugi::xml_document& document);

// Attribute helpers for building documents.
void SetAttribute(pugi::xml_node node, const char* name, std::u16string_view value);
void SetBoolAttribute(pugi::xml_node node, const char* name, bool value);

}  // namespace driver
