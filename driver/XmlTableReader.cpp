#include "driver/XmlTableReader.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <type_traits>
#include <vector>

#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace driver {

// Names and values arrive as the host's own UTF-16 units, never converted.
static_assert(std::is_same_v<XML_Char, unsigned short> && sizeof(XML_Char) == sizeof(char16_t),
              "expat must be built with XML_Char as UTF-16 (EXPAT_CHAR_TYPE=ushort) and used with XML_UNICODE");

namespace {

// The parser's input encoding on every target, in its character type.
constexpr XML_Char kUtf16Le[] = {'U', 'T', 'F', '-', '1', '6', 'L', 'E', 0};

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

// `name` equals `expected` once `fold` has been applied to each of its units.
template <typename Fold>
bool NameMatches(const XML_Char* name, std::u16string_view expected, Fold fold) {
    for (const char16_t c : expected)
        if (fold(*name++) != c) return false;
    return *name == 0;
}

char16_t Unchanged(XML_Char c) { return static_cast<char16_t>(c); }

char16_t AsciiLower(XML_Char c) { return static_cast<char16_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); }

// Appends the parser's zero-terminated text with its terminator. Copied as
// bytes: the parser's units are unsigned short, ours char16_t.
void AppendTerminated(std::u16string& out, const XML_Char* text) {
    std::size_t units = 1;
    while (text[units - 1] != 0) ++units;
    const std::size_t at = out.size();
    out.resize(at + units);
    std::memcpy(out.data() + at, text, units * sizeof(char16_t));
}

// The text up to the next zero unit; `rest` then starts after that unit.
std::u16string_view TakeTerminated(std::u16string_view& rest) {
    const std::u16string_view text = rest.substr(0, rest.find(u'\0'));
    rest.remove_prefix(text.size() + 1);
    return text;
}

// One expat parser over the cleaned text. Handlers run inside the parser's C
// code, which no exception may cross: a handler keeps its exception and stops
// the parser, and Parse raises it once the parser has returned.
class StreamParser {
public:
    StreamParser() : parser_(XML_ParserCreate(kUtf16Le)) {
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

    void Open(const XML_Char* name, const XML_Char* const* attributes) {
        const int level = depth++;
        if (level == 0) table.isTable_ = NameMatches(name, u"Table", Unchanged);
        if (level != 1 || !table.isTable_ || !NameMatches(name, u"record", AsciiLower)) return;
        std::u16string& records = table.records_;
        for (const XML_Char* const* text = attributes; *text != nullptr; ++text) AppendTerminated(records, *text);
        records += u'\0';
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

std::optional<std::u16string_view> XmlRecord::Find(std::u16string_view name) const {
    for (const XmlAttribute& attribute : attributes_)
        if (attribute.name == name) return attribute.value;
    return std::nullopt;
}

XmlTable::XmlTable(std::u16string_view text) {
    // Room for what the attributes take: a name or value with its zero unit
    // never takes more units than in the text (a="" is four, entities shrink),
    // those of a document type aside. No copy while growing, and pages never
    // written stay untouched.
    records_.reserve(text.size());
    StreamParser parser;
    TableReading reading{parser, *this};
    XML_SetUserData(parser.Handle(), &reading);
    XML_SetElementHandler(parser.Handle(), OnStart, OnEnd);
    parser.Parse(text);
}

void XmlTable::ForEachRecord(const std::function<void(const XmlRecord&)>& visit) const {
    if (!isTable_) throw cf::Exception(u"Не найден корневой узел");
    std::vector<XmlAttribute> attributes;
    for (std::u16string_view rest = records_; !rest.empty();) {
        attributes.clear();
        while (rest.front() != u'\0') {
            const std::u16string_view name = TakeTerminated(rest);
            attributes.push_back({name, TakeTerminated(rest)});
        }
        rest.remove_prefix(1);
        visit(XmlRecord(attributes));
    }
}

}  // namespace driver
