// help-render's output folder reached through symbolic links: the same
// folder by another name is still never packed.
#include "tests/unit/help/HelpRenderFixture.h"

namespace help_tests {

TEST_F(HelpRenderTest, OutputReachedThroughALinkIsRecognised) {
    fs::create_directory_symlink(docs_, root_ / "link");
    const std::pair<fs::path, fs::path> cases[] = {
        {root_ / "link" / "guide.md", docs_ / "page"},  // the document by the link
        {docs_ / "guide.md", root_ / "link" / "page"},  // the output by the link
    };
    for (const auto& [document, out] : cases) {
        Render(document, out.u16string());
        Render(document, out.u16string());
        EXPECT_EQ(Tree(docs_ / "page"), once_) << document << " " << out;
        fs::remove_all(docs_ / "page");
    }
}

TEST_F(HelpRenderTest, ALinkInTheDocumentFolderToTheOutputIsLeftOut) {
    fs::create_directory(root_ / "outside");
    fs::create_directory_symlink(root_ / "outside", docs_ / "rendered");
    Render(docs_ / "guide.md", (root_ / "outside").u16string());
    Render(docs_ / "guide.md", (root_ / "outside").u16string());
    EXPECT_EQ(Tree(root_ / "outside"), once_);
}

}  // namespace help_tests
