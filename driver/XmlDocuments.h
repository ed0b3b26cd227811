// XML documents exchanged with the platform: cleaning and parsing its input
// tables, reading attributes with defaults, and writing documents back as
// text with an XML declaration and CR LF line ends.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "lib/cf/Variant.h"

namespace driver {

// The readers' mark for a missing or unreadable value.
inline constexpr int32_t kMissingValue = -999999;

// Keeps TAB, LF, CR, U+0020..U+D7FF and U+E000..U+FFFD; drops every other
// code unit, so characters outside the Basic Multilingual Plane go whole.
std::u16string StripInvalidXMLChars(std::u16string_view text);

// Null or empty: the default. Otherwise the trimmed text as a 32-bit decimal integer, else the default.
int32_t VarToIntDef(const cf::Variant& value, int32_t defaultValue);
// Currency (scaled by 10000): the text as a decimal number with the process
// decimal separator, rounded to four decimals; anything else the default.
int64_t VarToCurrDef(const cf::Variant& value, int64_t defaultScaled);
// Text "True"/"False" in any ASCII letter case; other texts the default.
bool VarToBoolDef(const cf::Variant& value, bool defaultValue);

// Parses the text; a text that is not well-formed XML raises the parser's message.
void ParseXml(std::u16string_view text, pugi::xml_document& document);
// ParseXml(StripInvalidXMLChars(text)) in one pass and without either
// intermediate copy: the text is cleaned while it is converted into a UTF-8
// buffer that the document parses in place and keeps.
void ParseCleanedXml(std::u16string_view text, pugi::xml_document& document);
// Parses UTF-8 bytes, with or without a byte-order mark. The declaration is
// not kept: XmlToText writes its own.
void ParseXmlUtf8(std::string_view bytes, pugi::xml_document& document);

// The document as the platform receives it: declaration with version 1.0, CR LF after every line.
std::u16string XmlToText(const pugi::xml_document& document);

// One record of an input table.
class XmlRecord {
public:
    explicit XmlRecord(pugi::xml_node node) : node_(node) {}
    // Null when the attribute is absent, its text otherwise.
    cf::Variant Attribute(const char* name) const;
    // The attribute's text; absent gives the empty text.
    std::u16string Text(const char* name) const;

private:
    pugi::xml_node node_;
};

// Visits each child "Record" (ASCII letter case ignored) of the top-level
// "Table" in document order; raises "Не найден корневой узел" without "Table".
void ForEachRecord(const pugi::xml_document& document, const std::function<void(const XmlRecord&)>& visit);

// Attribute helpers for building documents.
void SetAttribute(pugi::xml_node node, const char* name, std::u16string_view value);
void SetBoolAttribute(pugi::xml_node node, const char* name, bool value);

}  // namespace driver
