#include "driver/XmlTableReader.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <vector>

#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace driver {

namespace {

// Code units cleaned and handed to the parser at a time: the one buffer of
// the reading, whatever the document's size.
constexpr std::size_t kChunkUnits = 16384;

// Writes the allowed units as UTF-16LE bytes (the parser's input encoding on
// every target) and returns the number of bytes written. The buffer the parser
// lends has no alignment, hence bytes.
std::size_t CleanInto(std::u16string_view text, char* out) {
    char* const start = out;
    for (const char16_t c : text) {
        if (!IsAllowedXmlUnit(c)) continue;
        *out++ = static_cast<char>(c & 0xFF);
        *out++ = static_cast<char>(c >> 8);
    }
    return static_cast<std::size_t>(out - start);
}

// The index in `text` of its kept unit number `cleanedIndex` (or its end).
std::size_t OriginalIndex(std::u16string_view text, std::size_t cleanedIndex) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsAllowedXmlUnit(text[i])) continue;
        if (kept++ == cleanedIndex) return i;
    }
    return text.size();
}

// "Record" in any ASCII letter case, straight on the UTF-8 name: a byte of a
// wider character never equals an ASCII letter.
bool IsRecordName(const char* name) {
    static constexpr char kRecord[] = "record";
    for (const char expected : std::string_view(kRecord)) {
        const char c = *name++;
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != expected) return false;
    }
    return *name == '\0';
}

// One expat parser over the cleaned text. Handlers run inside the parser's C
// code, which no exception may cross: a handler keeps its exception and stops
// the parser, and Parse raises it once the parser has returned.
class StreamParser {
public:
    StreamParser() : parser_(XML_ParserCreate("UTF-16LE")) {
        if (parser_ == nullptr) throw std::bad_alloc();
    }
    ~StreamParser() { XML_ParserFree(parser_); }
    StreamParser(const StreamParser&) = delete;
    StreamParser& operator=(const StreamParser&) = delete;

    XML_Parser Handle() const { return parser_; }
    bool Stopped() const { return kept_ != nullptr; }

    template <typename Handler>
    void Run(Handler&& handler) noexcept {
        if (Stopped()) return;
        try {
            handler();
        } catch (...) {
            kept_ = std::current_exception();
            XML_StopParser(parser_, XML_FALSE);
        }
    }

    void Parse(std::u16string_view text) {
        std::size_t at = 0;
        for (;;) {
            const std::size_t units = std::min(kChunkUnits, text.size() - at);
            at += units;
            const XML_Bool last = at == text.size() ? XML_TRUE : XML_FALSE;
            if (!Feed(text.substr(at - units, units), last)) Fail(text);
            if (last) return;
        }
    }

private:
    bool Feed(std::u16string_view chunk, XML_Bool last) {
        if (chunk.empty()) return XML_Parse(parser_, nullptr, 0, last) == XML_STATUS_OK;
        void* buffer = XML_GetBuffer(parser_, static_cast<int>(chunk.size() * 2));
        if (buffer == nullptr) return false;
        const std::size_t bytes = CleanInto(chunk, static_cast<char*>(buffer));
        return XML_ParseBuffer(parser_, static_cast<int>(bytes), last) == XML_STATUS_OK;
    }

    [[noreturn]] void Fail(std::u16string_view text) {
        if (kept_ != nullptr) std::rethrow_exception(kept_);
        const XML_Error error = XML_GetErrorCode(parser_);
        if (error == XML_ERROR_NO_MEMORY) throw std::bad_alloc();
        const XML_Index byte = std::max<XML_Index>(XML_GetCurrentByteIndex(parser_), 0);
        throw cf::Exception(u"Ошибка разбора XML: " + cf::FromUtf8(XML_ErrorString(error)) + u" (позиция " +
                            cf::IntToStr(static_cast<int64_t>(OriginalIndex(text, static_cast<std::size_t>(byte) / 2))) +
                            u")");
    }

    XML_Parser parser_;
    std::exception_ptr kept_;
};

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes);
void XMLCALL OnEnd(void* data, const XML_Char*);

}  // namespace

// The state of one table's reading: the depth of the element being opened
// decides whether it is the root, a record, or deeper.
struct TableReading {
    StreamParser& parser;
    XmlTable& table;
    int depth = 0;

    void Open(const char* name, const char* const* attributes) {
        const int level = depth++;
        if (level == 0) table.isTable_ = std::strcmp(name, "Table") == 0;
        if (level != 1 || !table.isTable_ || !IsRecordName(name)) return;
        std::string& records = table.records_;
        for (const char* const* text = attributes; *text != nullptr; ++text) records.append(*text) += '\0';
        records += '\0';
    }
};

namespace {

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& reading = *static_cast<TableReading*>(data);
    reading.parser.Run([&] { reading.Open(name, attributes); });
}

void XMLCALL OnEnd(void* data, const XML_Char*) { --static_cast<TableReading*>(data)->depth; }

}  // namespace

bool IsAllowedXmlUnit(char16_t c) {
    return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD);
}

std::u16string StripInvalidXMLChars(std::u16string_view text) {
    std::u16string kept;
    kept.reserve(text.size());
    for (char16_t c : text)
        if (IsAllowedXmlUnit(c)) kept += c;
    return kept;
}

const char* XmlRecord::Find(const char* name) const {
    for (const char* const* pair = attributes_; *pair != nullptr; pair += 2)
        if (std::strcmp(pair[0], name) == 0) return pair[1];
    return nullptr;
}

cf::Variant XmlRecord::Attribute(const char* name) const {
    const char* value = Find(name);
    return value == nullptr ? cf::Variant::MakeNull() : cf::Variant(cf::FromUtf8(value));
}

std::u16string XmlRecord::Text(const char* name) const {
    const char* value = Find(name);
    return value == nullptr ? std::u16string() : cf::FromUtf8(value);
}

XmlTable::XmlTable(std::u16string_view text) {
    // Room for what the attributes take in UTF-8 (three bytes a unit at most,
    // entities of a document type aside): no copy while growing, and pages
    // never written stay untouched.
    records_.reserve(text.size() * 3);
    StreamParser parser;
    TableReading reading{parser, *this};
    XML_SetUserData(parser.Handle(), &reading);
    XML_SetElementHandler(parser.Handle(), OnStart, OnEnd);
    parser.Parse(text);
}

void XmlTable::ForEachRecord(const std::function<void(const XmlRecord&)>& visit) const {
    if (!isTable_) throw cf::Exception(u"Не найден корневой узел");
    std::vector<const char*> attributes;
    for (const char* at = records_.data(); at != records_.data() + records_.size(); ++at) {
        attributes.clear();
        for (; *at != '\0'; ++at) {
            attributes.push_back(at);
            at += std::strlen(at) + 1;
            attributes.push_back(at);
            at += std::strlen(at);
        }
        attributes.push_back(nullptr);
        visit(XmlRecord(attributes.data()));
    }
}

}  // namespace driver
