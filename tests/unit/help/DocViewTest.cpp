#include <gtest/gtest.h>

#include "common/uPaths.h"
#include "forms/ufmDocView.h"
#include "help/uHelpFiles.h"
#include "lib/cf/Exception.h"
#include "tests/support/ErrorMessage.h"
#include "tests/unit/common/LogTestSupport.h"

namespace {

class FakeSystem : public forms::IDocViewSystem {
public:
    bool HasHtmlEngine() override { return htmlEngine; }
    void OpenInSystemBrowser(const std::u16string& file) override {
        opened.push_back(file);
        if (!browserError.empty()) throw cf::Exception(browserError);
    }

    bool htmlEngine = true;
    std::u16string browserError;
    std::vector<std::u16string> opened;
};

// A working folder as the renderer leaves it for the window.
class DocViewTest : public ::testing::Test {
protected:
    DocViewTest() : folder_(root_.Path() + u"{work}"), page_(folder_ + common::PathDelim() + u"md.html") {
        help::CreatePrivateFolder(folder_);
        help::WriteFileBytes(page_, "\xEF\xBB\xBF<h1>Справка</h1>\n");
        help::WriteFileBytes(folder_ + u"/style.css", "h1{}");
    }

    bool FolderExists() const { return common::DirectoryExists(folder_); }

    log_tests::TempFolder root_;
    std::u16string folder_;
    std::u16string page_;
    FakeSystem system_;
};

TEST_F(DocViewTest, WithAnHtmlEngineTheBrowserShowsThePage) {
    help::WriteFileBytes(folder_ + u"/guide.md", "# Справка");
    forms::TDocViewPresenter view(page_, u"Справка", system_);
    const forms::TDocViewState& state = view.State();
    EXPECT_EQ(state.Mode, forms::TDocViewMode::dvBrowser);
    EXPECT_EQ(state.Caption, u"Справка");
    EXPECT_EQ(state.ClientWidth, 633);
    EXPECT_EQ(state.ClientHeight, 425);
    EXPECT_EQ(state.PageFile, page_);
    EXPECT_TRUE(state.DocumentText.empty());
    EXPECT_TRUE(FolderExists());
    view.Closed();
    EXPECT_FALSE(FolderExists());
}

TEST_F(DocViewTest, WithoutAnHtmlEngineTheDocumentTextIsShownWithABrowserButton) {
    help::WriteFileBytes(folder_ + u"/guide.md", std::string("\xFF\xFE\x16\x04\n\x00", 6));  // "Ж\n", UTF-16 LE
    system_.htmlEngine = false;
    forms::TDocViewPresenter view(page_, u"Справка", system_);
    EXPECT_EQ(view.State().Mode, forms::TDocViewMode::dvText);
    EXPECT_EQ(view.State().DocumentText, u"Ж\n");
    EXPECT_EQ(view.State().OpenButtonCaption, u"Открыть в браузере");

    EXPECT_EQ(view.OpenInBrowserClicked(), u"");
    system_.browserError = u"Нет программы для открытия файла";
    EXPECT_EQ(view.OpenInBrowserClicked(), u"Нет программы для открытия файла");
    EXPECT_EQ(system_.opened, (std::vector<std::u16string>{page_, page_}));
    EXPECT_TRUE(FolderExists());
    view.Closed();
    EXPECT_FALSE(FolderExists());
    view.Closed();  // a second close message changes nothing
}

TEST_F(DocViewTest, TheFolderGoesEvenWithoutACloseMessage) {
    help::WriteFileBytes(folder_ + u"/guide.md", "# x");
    { forms::TDocViewPresenter view(page_, u"Справка", system_); }
    EXPECT_FALSE(FolderExists());
}

TEST_F(DocViewTest, ATextModeWithoutDocumentFailsAndRemovesTheFolder) {
    system_.htmlEngine = false;
    EXPECT_EQ(test_support::MessageOf([&] { forms::TDocViewPresenter view(page_, u"Справка", system_); }),
              u"Mardown file not found");
    EXPECT_FALSE(FolderExists());
}

}  // namespace
