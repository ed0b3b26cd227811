#include "driver/XmlDocuments.h"

#include <sstream>

#include "lib/cf/Exception.h"
#include "lib/cf/FormatSettings.h"
#include "lib/cf/TextUtils.h"
#include "lib/cf/VariantConvert.h"

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

}  // namespace

int32_t VarToIntDef(std::u16string_view value, int32_t defaultValue) {
    int64_t number = 0;
    return cf::TryTextToInt64(value, number) && number >= INT32_MIN && number <= INT32_MAX
               ? static_cast<int32_t>(number)
               : defaultValue;
}

cf::Currency VarToCurrDef(std::u16string_view value, cf::Currency defaultValue) {
    cf::Currency number;
    return cf::TryTextToCurrency(value, cf::FormatSettings().DecimalSeparator, number) ? number : defaultValue;
}

bool VarToBoolDef(std::u16string_view value, bool defaultValue) {
    if (cf::AsciiSameText(value, u"True")) return true;
    if (cf::AsciiSameText(value, u"False")) return false;
    return defaultValue;
}

int32_t VarToIntDef(const cf::Variant& value, int32_t defaultValue) {
    std::u16string storage;
    std::u16string_view text;
    return TextOf(value, storage, text) ? VarToIntDef(text, defaultValue) : defaultValue;
}

cf::Currency VarToCurrDef(const cf::Variant& value, cf::Currency defaultValue) {
    if (value.Kind() == cf::VarKind::Currency) return value.CurrencyValue();
    cf::Currency number;
    if (value.IsFloating()) return cf::TryFloatToCurrency(value.FloatValue(), number) ? number : defaultValue;
    std::u16string storage;
    std::u16string_view text;
    return TextOf(value, storage, text) ? VarToCurrDef(text, defaultValue) : defaultValue;
}

bool VarToBoolDef(const cf::Variant& value, bool defaultValue) {
    if (value.IsString()) return VarToBoolDef(std::u16string_view(value.StringValue()), defaultValue);
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
