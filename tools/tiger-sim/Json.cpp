#include "tools/tiger-sim/Json.h"

namespace tiger_sim {

std::string JsonQuote(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

JsonObject& JsonObject::Raw(std::string_view key, std::string_view json) {
    if (!body_.empty()) body_ += ',';
    body_ += JsonQuote(key);
    body_ += ':';
    body_ += json;
    return *this;
}

JsonObject& JsonObject::Str(std::string_view key, std::string_view utf8) { return Raw(key, JsonQuote(utf8)); }

JsonObject& JsonObject::Num(std::string_view key, int64_t value) { return Raw(key, std::to_string(value)); }

JsonObject& JsonObject::Bool(std::string_view key, bool value) { return Raw(key, value ? "true" : "false"); }

std::string JsonArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ',';
        out += items[i];
    }
    return out + "]";
}

}  // namespace tiger_sim
