#include <gtest/gtest.h>

#include "tests/support/ErrorMessage.h"
#include "help/uMarkdown.h"

namespace {

using help::MarkdownToHtml;

std::u16string CommonMark(std::u16string_view text) { return MarkdownToHtml(text, help::kMarkdownCommonMark); }

TEST(MarkdownEngine, TablesOnlyInTheCommonMarkDialect) {
    const std::u16string table = u"| Имя | Значение |\n|:---|---:|\n| IPPort | 3001 |\n";
    EXPECT_EQ(CommonMark(table),
              u"<table>\n<thead>\n<tr>\n<th align=\"left\">Имя</th>\n<th align=\"right\">Значение</th>\n</tr>\n"
              u"</thead>\n<tbody>\n<tr>\n<td align=\"left\">IPPort</td>\n<td align=\"right\">3001</td>\n</tr>\n"
              u"</tbody>\n</table>\n");
    EXPECT_EQ(MarkdownToHtml(table, help::kMarkdownClassic),
              u"<p>| Имя | Значение |\n|:---|---:|\n| IPPort | 3001 |</p>\n");
}

TEST(MarkdownEngine, TextOutsideTheBasicPlaneSurvivesTheUtf16Interface) {
    EXPECT_EQ(CommonMark(u"# Весы «Тигр»\n\nЁлка \U0001F600 ёж"), u"<h1>Весы «Тигр»</h1>\n<p>Ёлка \U0001F600 ёж</p>\n");
}

TEST(MarkdownEngine, EntitiesAreResolvedAndSpecialCharactersEscaped) {
    EXPECT_EQ(CommonMark(u"&copy; &#1046; &#x416; &amp; &nosuch; a < b"),
              u"<p>© Ж Ж &amp; &amp;nosuch; a &lt; b</p>\n");
}

TEST(MarkdownEngine, CodeBlocksKeepTheirTextVerbatim) {
    EXPECT_EQ(CommonMark(u"```xml\n<Record PLU=\"1\"/>\n```\n"),
              u"<pre><code class=\"language-xml\">&lt;Record PLU=&quot;1&quot;/&gt;\n</code></pre>\n");
    EXPECT_EQ(CommonMark(u"    Подключить()\n"), u"<pre><code>Подключить()\n</code></pre>\n");
    EXPECT_EQ(CommonMark(u"Вызов `Open` *сразу*"), u"<p>Вызов <code>Open</code> <em>сразу</em></p>\n");
}

TEST(MarkdownEngine, LinksAndAutolinks) {
    EXPECT_EQ(CommonMark(u"[Лог](logs/a b.log \"Заголовок\") и <http://127.0.0.1/?a=1&b=2>"),
              u"<p>[Лог](logs/a b.log &quot;Заголовок&quot;) и <a href=\"http://127.0.0.1/?a=1&amp;b=2\">"
              u"http://127.0.0.1/?a=1&amp;b=2</a></p>\n");
    EXPECT_EQ(CommonMark(u"[Лог](logs/лог.txt \"Заголовок\")"),
              u"<p><a href=\"logs/%D0%BB%D0%BE%D0%B3.txt\" title=\"Заголовок\">Лог</a></p>\n");
}

TEST(MarkdownEngine, EmptyDocumentGivesEmptyBody) { EXPECT_EQ(CommonMark(u""), u""); }

TEST(MarkdownEngine, AnyOtherDialectIsRefused) {
    for (int dialect : {2, -1, 100})
        EXPECT_EQ(test_support::MessageOf([&] { MarkdownToHtml(u"# x", dialect); }), u"Unknown Markdown dialect")
            << dialect;
}

}  // namespace
