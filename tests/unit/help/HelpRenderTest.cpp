// help-render with its output folder inside the document's folder: an
// earlier run's output is never packed again, however the folder is spelled.
#include "tests/unit/help/HelpRenderFixture.h"

namespace help_tests {

TEST_F(HelpRenderTest, OutputInsideTheDocumentFolderHoldsOneRunAfterTwo) {
    // Beside the document, and deeper, inside one of its folders.
    for (const fs::path& out : {docs_ / "page", docs_ / "pictures" / "page"}) {
        Render(docs_ / "guide.md", out.u16string());
        Render(docs_ / "guide.md", out.u16string());
        EXPECT_EQ(Tree(out), once_) << out;
        fs::remove_all(out);
        EXPECT_EQ(Tree(docs_), source_);
    }
}

TEST_F(HelpRenderTest, EverySpellingOfTheOutputFolderIsRecognised) {
    const CurrentFolder here(root_);
    const fs::path out = docs_ / "page";
    const char16_t separator = fs::path::preferred_separator;
    const std::u16string spellings[] = {u"docs/page/", u"./docs/pictures/../page", u"docs//page",
                                        out.u16string() + separator};
    for (const std::u16string& spelling : spellings) {
        Render(fs::path("docs") / "guide.md", spelling);
        Render(docs_ / "guide.md", spelling);
        EXPECT_EQ(Tree(out), once_) << fs::path(spelling);
        fs::remove_all(out);
    }
}

TEST_F(HelpRenderTest, SiblingOutputsOfSeveralDocumentsStayTheSize) {
    WriteFile(docs_ / "other.md", "# Other\n");
    source_ = Tree(docs_);
    for (int round = 0; round < 3; ++round) {
        Render(docs_ / "guide.md", (docs_ / "guide-page").u16string());
        Render(docs_ / "other.md", (docs_ / "other-page").u16string());
    }
    EXPECT_EQ(Tree(docs_ / "guide-page"), once_);
    std::vector<std::string> other = once_;
    std::replace(other.begin(), other.end(), std::string("guide.md"), std::string("other.md"));
    std::sort(other.begin(), other.end());
    EXPECT_EQ(Tree(docs_ / "other-page"), other);
    fs::remove_all(docs_ / "guide-page");
    fs::remove_all(docs_ / "other-page");
    EXPECT_EQ(Tree(docs_), source_);
}

}  // namespace help_tests
