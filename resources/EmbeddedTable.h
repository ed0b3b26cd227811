// Resources compiled into the library on systems without resource sections.
#pragma once

#include <cstddef>
#include <cstdint>

namespace resources {

struct EmbeddedData {
    const char16_t* name;
    const unsigned char* bytes;
    std::size_t size;
};

struct EmbeddedString {
    uint32_t id;
    const char8_t* text;
};

// Both end with an entry whose name or text is null.
extern const EmbeddedData kEmbeddedData[];
extern const EmbeddedString kEmbeddedStrings[];

}  // namespace resources
