// A small hand-made JSON writer: objects keep the order fields are added in,
// so the same state always gives the same text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tiger_sim {

// A JSON string literal of UTF-8 text; control characters as \u00XX.
std::string JsonQuote(std::string_view utf8);

class JsonObject {
public:
    JsonObject& Raw(std::string_view key, std::string_view json);
    JsonObject& Str(std::string_view key, std::string_view utf8);
    JsonObject& Num(std::string_view key, int64_t value);
    JsonObject& Bool(std::string_view key, bool value);
    std::string Text() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

std::string JsonArray(const std::vector<std::string>& items);

}  // namespace tiger_sim
