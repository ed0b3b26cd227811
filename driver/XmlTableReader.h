// The input tables the platform passes (goods, tare, texts), read as they
// stream from its UTF-16 text by a conforming parser: no tree of the document
// and no cleaned or converted copy of it, however big the catalogue.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace driver {

// TAB, LF, CR, U+0020..U+D7FF and U+E000..U+FFFD: the units an input table
// keeps. Surrogates never pass, so characters outside the Basic Multilingual
// Plane go whole.
bool IsAllowedXmlUnit(char16_t c);
// The text without the units IsAllowedXmlUnit drops.
std::u16string StripInvalidXMLChars(std::u16string_view text);

// One attribute of a record, as the parser reports it (entities replaced,
// white space in the value normalised).
struct XmlAttribute {
    std::u16string_view name, value;
};

// One record of an input table: the attributes of its start tag, valid only
// while the visitor runs.
class XmlRecord {
public:
    explicit XmlRecord(std::span<const XmlAttribute> attributes) : attributes_(attributes) {}
    // The attribute's text, or nothing when the record has none of that name.
    std::optional<std::u16string_view> Find(std::u16string_view name) const;
    // The attribute's text; absent gives the empty text.
    std::u16string_view Text(std::u16string_view name) const { return Find(name).value_or(std::u16string_view()); }

private:
    std::span<const XmlAttribute> attributes_;
};

// The records of an input table, read in one pass of a streaming parser and
// kept compact (their attributes' text as the parser gives it, UTF-16, and
// nothing of the rest), so that a document that is not well-formed is refused
// before anything reaches the scale, and no record is converted twice.
class XmlTable {
public:
    // Reads the text cleaned of the units IsAllowedXmlUnit drops; a text that
    // is not well-formed raises the parser's message.
    explicit XmlTable(std::u16string_view text);

    // Visits each child "Record" (ASCII letter case ignored) of the top-level
    // "Table" in document order; raises "Не найден корневой узел" when the
    // top-level element is not "Table".
    void ForEachRecord(const std::function<void(const XmlRecord&)>& visit) const;

private:
    friend struct TableReading;

    bool isTable_ = false;
    // Record after record: each attribute's name and value, each ending in a
    // zero unit, then one more zero unit (no name is empty).
    std::u16string records_;
};

}  // namespace driver
