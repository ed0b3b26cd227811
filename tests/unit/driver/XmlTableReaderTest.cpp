#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "driver/XmlTableReader.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

using namespace driver;

namespace {

using Records = std::vector<std::vector<std::pair<std::u16string_view, std::u16string>>>;

// Every attribute of every record, in the order the reader visits them.
Records StreamedRecords(std::u16string_view xml, const std::vector<std::u16string_view>& names) {
    Records records;
    XmlTable(xml).ForEachRecord([&](const XmlRecord& r) {
        auto& record = records.emplace_back();
        for (const std::u16string_view name : names) record.emplace_back(name, std::u16string(r.Text(name)));
    });
    return records;
}

// The same read the way the driver read tables before streaming: the text
// stripped, converted to UTF-8 and parsed whole by the tree parser.
Records TreeRecords(std::u16string_view xml, const std::vector<std::u16string_view>& names) {
    pugi::xml_document document;
    const std::string utf8 = cf::ToUtf8(StripInvalidXMLChars(xml));
    if (!document.load_buffer(utf8.data(), utf8.size(), pugi::parse_default, pugi::encoding_utf8))
        throw std::runtime_error("tree parser refused the text");
    Records records;
    for (pugi::xml_node node : document.child("Table").children()) {
        if (node.type() != pugi::node_element || strcasecmp(node.name(), "record") != 0) continue;
        auto& record = records.emplace_back();
        for (const std::u16string_view name : names)
            record.emplace_back(name, cf::FromUtf8(node.attribute(cf::ToUtf8(name).c_str()).value()));
    }
    return records;
}

std::vector<std::u16string> RecordNames(std::u16string_view xml) {
    std::vector<std::u16string> names;
    XmlTable(xml).ForEachRecord([&](const XmlRecord& r) { names.emplace_back(r.Text(u"N")); });
    return names;
}

// The message reading the text raises, empty when it accepts the text.
std::u16string CheckMessage(std::u16string_view xml) {
    try {
        XmlTable{xml};
    } catch (const cf::Exception& e) {
        return e.Message();
    }
    return {};
}

}  // namespace

TEST(StripInvalidXMLChars, KeepsOnlyWhatXmlAllows) {
    EXPECT_EQ(StripInvalidXMLChars(u"a\u0001b\tc\nd\re\u001F"), u"ab\tc\nd\re");
    EXPECT_EQ(StripInvalidXMLChars(u"x\U0001F600y"), u"xy");
    EXPECT_EQ(StripInvalidXMLChars(std::u16string{u'a', 0xFFFE, 0xFFFF, 0xD800, u'b', 0xDC00}), u"ab");
    EXPECT_EQ(StripInvalidXMLChars(u"\uE000\uFFFD\uD7FF"), u"\uE000\uFFFD\uD7FF");
}

// Records straddle the reader's chunks, carry dropped characters, entities,
// whitespace and non-ASCII text, after a byte-order mark and a declaration
// naming another encoding: the streamed values equal the tree parser's.
TEST(InputTables, StreamedRecordsEqualTheTreeParsersOfTheStrippedText) {
    std::u16string xml = u"\uFEFF<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<Table>\r\n";
    for (int i = 0; i < 3000; ++i) {
        xml += u"\t<Record PLU=\"" + cf::IntToStr(i) + u"\" Name=\"Сыр\u0001 \U0001F9C0твёрдый &amp; &#1025;\r\n\tx\" " +
               u"Price='12,50' EANData=\"\u20AC" + char16_t(0xD800) + u"\uFFFE\uFFFD\"/>\r\n";
        if (i % 7 == 0) xml += u"<!-- \u0002 --><recORD PLU=\"r\"><Record PLU=\"inner\"/></recORD>text\u0003";
    }
    xml += u"</Table>\r\n";
    const std::vector<std::u16string_view> names = {u"PLU", u"Name", u"Price", u"EANData", u"Missing"};
    const Records streamed = StreamedRecords(xml, names);
    ASSERT_EQ(streamed.size(), 3000u + 429u);
    EXPECT_EQ(streamed[0][1].second, u"Сыр твёрдый & Ё  x");  // line end and tab read as spaces
    EXPECT_EQ(streamed[0][3].second, u"\u20AC\uFFFD");
    EXPECT_EQ(streamed, TreeRecords(xml, names));
}

TEST(InputTables, RecordsOfTheTopLevelTableInOrder) {
    EXPECT_EQ(RecordNames(u"<Table><Record N='1'/><record N='2'/><!-- c --><Item N='x'/><Records N='4'/><Recor N='5'/>text<RECORD N='3'/></Table>"),
              (std::vector<std::u16string>{u"1", u"2", u"3"}));
    EXPECT_TRUE(RecordNames(u"<?xml version='1.0'?><Table/>").empty());
}

TEST(InputTables, TableMustBeTopLevelAndSpelledExactly) {
    for (const char16_t* xml : {u"<table><Record/></table>", u"<Root><Table><Record/></Table></Root>"}) {
        try {
            RecordNames(xml);
            FAIL() << "accepted";
        } catch (const cf::Exception& e) {
            EXPECT_EQ(e.Message(), u"Не найден корневой узел");
        }
    }
}

TEST(InputTables, AbsentAttributesAreNotFoundAndReadAsEmptyText) {
    int visited = 0;
    XmlTable(u"<Table><Record A='' B='Ёжик &amp; Ко'/></Table>").ForEachRecord([&](const XmlRecord& r) {
        ++visited;
        EXPECT_EQ(r.Find(u"Missing"), std::nullopt);
        EXPECT_EQ(r.Find(u"A"), std::u16string_view());
        EXPECT_EQ(r.Text(u"B"), u"Ёжик & Ко");
        EXPECT_EQ(r.Text(u"Missing"), u"");
    });
    EXPECT_EQ(visited, 1);
}

// What the tree parser let through is refused now, with the parser's own
// words and the position in the host's text (dropped characters counted).
TEST(InputTables, MalformedTextIsRefusedWithTheParsersMessageAndPosition) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"<Table><Record A='a & b'/></Table>", u"Ошибка разбора XML: not well-formed (invalid token) (позиция 21)"},
        {u"<Table><Record A='1' A='2'/></Table>", u"Ошибка разбора XML: duplicate attribute (позиция 21)"},
        {u"<Table/><Table/>", u"Ошибка разбора XML: junk after document element (позиция 8)"},
        {u"\u0001\u0001<Table/><Table/>", u"Ошибка разбора XML: junk after document element (позиция 10)"},
        {u"<Table><Record></Table>", u"Ошибка разбора XML: mismatched tag (позиция 17)"},
        {u"", u"Ошибка разбора XML: no element found (позиция 0)"},
        {u"\u0002", u"Ошибка разбора XML: no element found (позиция 1)"},
    };
    for (const auto& [xml, message] : cases) EXPECT_EQ(CheckMessage(xml), message) << cf::ToUtf8(xml);
    EXPECT_EQ(CheckMessage(u"\uFEFF<Table\u0001><Record N='\U0001F600'/></Table>"), u"");
}

// A visitor's exception ends the visits at its record and reaches the caller
// as it was thrown; the records before it were visited.
TEST(InputTables, VisitorExceptionStopsTheReadingAndPassesOn) {
    std::vector<std::u16string> seen;
    try {
        XmlTable(u"<Table><Record N='1'/><Record N='2'/><Record N='3'/></Table>").ForEachRecord([&](const XmlRecord& r) {
            seen.emplace_back(r.Text(u"N"));
            if (seen.size() == 2) throw cf::Exception(u"Некорректный номер товара");
        });
        FAIL() << "no exception";
    } catch (const cf::Exception& e) {
        EXPECT_EQ(e.Message(), u"Некорректный номер товара");
    }
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"1", u"2"}));
}
