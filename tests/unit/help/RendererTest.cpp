#include "RendererFixture.h"
#include "ZipBuilder.h"
#include "common/uPaths.h"
#include "help/uHelpFiles.h"
#include "help/uMarkdown.h"
#include "lib/cf/TextUtils.h"
#include "tests/support/ErrorMessage.h"

namespace help_tests {

namespace {

const char kGuide[] = "# Справка\n\n| Параметр | По умолчанию |\n|---|---|\n| IPPort | 3001 |\n";

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string GuideHtml() { return cf::ToUtf8(help::MarkdownToHtml(cf::FromUtf8(kGuide), help::kMarkdownCommonMark)); }

}  // namespace

std::u16string RendererTest::RenderHelp() {
    return test_support::MessageOf([&] { help::TMarkdownRenderer::Render(u"help", u"Справка", Services()); });
}

TEST_F(RendererTest, PackageWithStyleSheetGivesLinkedDocument) {
    AddPackage(u"help", ZipBuilder().Add("guide.md", kGuide, {true, 0, std::nullopt}).Add("style.css", "h1{color:red}").Bytes());
    ASSERT_EQ(RenderHelp(), u"(no error)");
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].Caption, u"Справка");
    EXPECT_EQ(shown_[0].PageBytes, std::string(kBom) +
                                       "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<link href=\"style.css\" rel=\"stylesheet\">"
                                       "\r\n</head>\r\n<body>\r\n" +
                                       GuideHtml() + "\r\n</body>\r\n</html>");
    EXPECT_EQ(shown_[0].Files, (std::vector<std::u16string>{u"guide.md", u"md.html", u"md.zip", u"style.css"}));
    EXPECT_NE(GuideHtml().find("<td>IPPort</td>"), std::string::npos);
    ExpectNothingLeft();
}

TEST(HelpPage, StyleSheetNameCannotBreakOutOfItsAttribute) {
    EXPECT_EQ(help::HtmlPageBytes(u"<p>x</p>", u"a\"&<b>.css"),
              std::string(kBom) + "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<link href=\"a&quot;&amp;&lt;b&gt;.css\" "
                                  "rel=\"stylesheet\">\r\n</head>\r\n<body>\r\n<p>x</p>\r\n</body>\r\n</html>");
}

TEST_F(RendererTest, PackageWithoutStyleSheetGivesBareHtml) {
    AddPackage(u"help", ZipBuilder().Add("guide.md", kGuide).Add("logo.png", "PNG").Bytes());
    ASSERT_EQ(RenderHelp(), u"(no error)");
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].PageBytes, kBom + GuideHtml());
    ExpectNothingLeft();
}

TEST_F(RendererTest, DocumentEncodingsFollowTheByteOrderMark) {
    const std::u16string text = cf::FromUtf8(kGuide);
    for (const std::string& encoded : {std::string(kGuide), kBom + std::string(kGuide), Utf16(text, false), Utf16(text, true)}) {
        shown_.clear();
        AddPackage(u"help", ZipBuilder().Add("guide.md", encoded).Bytes());
        ASSERT_EQ(RenderHelp(), u"(no error)");
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].PageBytes, kBom + GuideHtml());
    }
    EXPECT_EQ(help::DecodeText("\xFF\xFE\x16\x04\x41"), u"Ж\uFFFD");
    ExpectNothingLeft();
}

TEST_F(RendererTest, FilesAreFoundAtTheTopLevelByExactExtension) {
    AddPackage(u"help", ZipBuilder()
                            .Add("docs/inner.md", "# inner")
                            .Add("notes.mdx", "x")
                            .Add("style.css.bak", "x")
                            .Add("GUIDE.MD", "# Верх")
                            .Add("images/", "")
                            .Add("images/logo.png", "PNG")
                            .Bytes());
    ASSERT_EQ(RenderHelp(), u"(no error)");
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].PageBytes, std::string(kBom) + "<h1>Верх</h1>\n");
    EXPECT_EQ(shown_[0].Files, (std::vector<std::u16string>{u"GUIDE.MD", u"docs", u"images", u"md.html", u"md.zip",
                                                            u"notes.mdx", u"style.css.bak"}));
    ExpectNothingLeft();
}

TEST_F(RendererTest, ErrorsLeaveNoWorkingFolder) {
    const std::string truncated = ZipBuilder().Add("guide.md", kGuide).Bytes();
    std::string badCrc = ZipBuilder().Add("guide.md", kGuide).Bytes();
    badCrc[40] ^= 0x55;  // a byte of the stored document
    const struct {
        std::string Package;
        std::u16string Message;
    } cases[] = {
        {ZipBuilder().Add("style.css", "x").Add("md/", "").Bytes(), u"Mardown file not found"},
        {"not a zip at all", u"Пакет справки повреждён: файл не является архивом ZIP или не читается"},
        {"", u"Пакет справки повреждён: файл не является архивом ZIP или не читается"},
        {truncated.substr(0, truncated.size() - 30), u"Пакет справки повреждён: файл не является архивом ZIP или не читается"},
        {badCrc, u"Пакет справки повреждён: не удаётся распаковать \"guide.md\""},
        {ZipBuilder().Add("guide.md", kGuide, {false, 1, std::nullopt}).Bytes(), u"Пакет справки содержит зашифрованный файл: \"guide.md\""},
        {ZipBuilder().Add("guide.md", kGuide).Add("../evil.md", "x").Bytes(),
         u"Пакет справки содержит недопустимое имя файла: \"../evil.md\""},
        // A few kilobytes that inflate to a document too large to convert quickly.
        {ZipBuilder().Add("guide.md", std::string(help::kMaxDocumentBytes + 1, '#'), {true, 0, std::nullopt}).Bytes(),
         u"Документ справки слишком велик: больше 262144 байт"},
    };
    for (const auto& c : cases) {
        AddPackage(u"help", c.Package);
        EXPECT_EQ(RenderHelp(), c.Message);
        ExpectNothingLeft();
    }
    // A folder where the page should go: the page cannot be written.
    AddPackage(u"help", ZipBuilder().Add("guide.md", kGuide).Add("md.html/", "").Bytes());
    EXPECT_EQ(RenderHelp().rfind(u"Не удалось создать файл \"" + root_.Path(), 0), 0u);
    ExpectNothingLeft();
    EXPECT_TRUE(shown_.empty());
}

TEST_F(RendererTest, ViewerFailureStillRemovesTheFolder) {
    AddPackage(u"help", ZipBuilder().Add("guide.md", kGuide).Bytes());
    help::THelpServices services = Services();
    std::u16string folder;
    services.ShowPage = [&](const std::u16string& page, const std::u16string&) {
        folder = page.substr(0, page.size() - 8);
        throw cf::Exception(u"Окно не открылось");
    };
    EXPECT_EQ(test_support::MessageOf([&] { help::TMarkdownRenderer::Render(u"help", u"Справка", services); }),
              u"Окно не открылось");
    EXPECT_FALSE(folder.empty());
    ExpectNothingLeft();
}

TEST_F(RendererTest, MissingResourceCreatesNoFolder) {
    AddPackage(u"other", ZipBuilder().Add("guide.md", kGuide).Bytes());
    EXPECT_EQ(RenderHelp(), u"File not found: help");
    EXPECT_EQ(test_support::MessageOf([&] { help::TMarkdownRenderer::Render(u"", u"Справка", Services()); }),
              u"File not found: ");
    EXPECT_FALSE(help::TMarkdownRenderer::SourceExist(u"help", Services()));
    EXPECT_TRUE(help::TMarkdownRenderer::SourceExist(u"other", Services()));
    ExpectNothingLeft();

    // The instance step checks again: the resource may be named wrongly.
    help::TMarkdownRenderer renderer(u"help", Services());
    EXPECT_EQ(test_support::MessageOf([&] { renderer.Render(u"Справка"); }), u"File not found: help");
}

TEST_F(RendererTest, EachRendererHasItsOwnGuidFolder) {
    std::u16string first;
    {
        help::TMarkdownRenderer one(u"help", Services());
        help::TMarkdownRenderer two(u"help", Services());
        first = one.TempDirectory();
        ASSERT_NE(first, two.TempDirectory());
        const std::u16string name = first.substr(root_.Path().size());
        ASSERT_EQ(name.size(), 38u);
        EXPECT_EQ(name.front(), u'{');
        EXPECT_EQ(name.back(), u'}');
        for (std::size_t dash : {9u, 14u, 19u, 24u}) EXPECT_EQ(name[dash], u'-');
        EXPECT_EQ(log_tests::FilesIn(root_.Path()).size(), 2u);
        EXPECT_TRUE(help::ListFolder(first).empty());
    }
    ExpectNothingLeft();
}

TEST(HelpFiles, GuidText) {
    const help::TGuid guid{0x0F8FAD5B, 0xD9CB, 0x469F, {0xA1, 0x65, 0x70, 0x86, 0x77, 0x28, 0x95, 0x0E}};
    EXPECT_EQ(help::GuidToText(guid), u"{0F8FAD5B-D9CB-469F-A165-70867728950E}");
}

TEST(HelpFiles, RemovingAFolderTreeRemovesNestedContent) {
    log_tests::TempFolder root;
    const std::u16string folder = root.Path() + u"tree";
    help::CreatePrivateFolder(folder);
    help::CreateSubfolder(folder + u"/a");
    help::CreateSubfolder(folder + u"/a/b");
    help::WriteFileBytes(folder + u"/a/b/file.txt", "x");
    help::WriteFileBytes(folder + u"/top.txt", "y");
    EXPECT_TRUE(help::RemoveFolderTree(folder));
    EXPECT_TRUE(log_tests::FilesIn(root.Path()).empty());
    EXPECT_TRUE(help::RemoveFolderTree(folder));  // gone already
    EXPECT_NE(test_support::MessageOf([&] { help::CreateSubfolder(folder + u"/x/y"); }), u"(no error)");
}

}  // namespace help_tests

namespace help_tests {

TEST(HelpWorkFolder, DefaultsToTheUserTemporaryFolder) {
    std::u16string folder;
    {
        help::TMarkdownRenderer renderer(u"help", help::THelpServices{});
        folder = renderer.TempDirectory();
        EXPECT_EQ(folder.rfind(help::UserTempFolder() + u"{", 0), 0u);
        EXPECT_TRUE(common::DirectoryExists(folder));
    }
    EXPECT_FALSE(common::DirectoryExists(folder));
}

}  // namespace help_tests
