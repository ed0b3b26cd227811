// XML documents exchanged with the platform: reading attributes of its input
// tables with defaults (the tables themselves stream through
// XmlTableReader.h), parsing the documents the driver carries, and writing
// documents back as text with an XML declaration and CR LF line ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "lib/cf/Currency.h"
#include "lib/cf/Variant.h"

namespace driver {

// The readers' mark for a missing or unreadable value.
inline constexpr int32_t kMissingValue = -999999;

// The attribute readers take an attribute's text in place: an absent
// attribute reads as the empty text, which gives the default as null does.
//
// The trimmed text as a 32-bit decimal integer, else the default.
int32_t VarToIntDef(std::u16string_view value, int32_t defaultValue);
// The trimmed text as a decimal number with the process decimal separator,
// rounded to four decimals; anything else the default.
cf::Currency VarToCurrDef(std::u16string_view value, cf::Currency defaultValue);
// "True"/"False" in any ASCII letter case; other texts the default.
bool VarToBoolDef(std::u16string_view value, bool defaultValue);

// The same on a host value: a string reads as its text, null and empty give
// the default, a number converts directly.
int32_t VarToIntDef(const cf::Variant& value, int32_t defaultValue);
cf::Currency VarToCurrDef(const cf::Variant& value, cf::Currency defaultValue);
bool VarToBoolDef(const cf::Variant& value, bool defaultValue);

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
