// The help package the library carries, rendered as the driver renders it.
#include "RendererFixture.h"
#include "lib/cf/TextUtils.h"
#include "resources/Resources.h"

namespace help_tests {

TEST_F(RendererTest, TheLibraryCarriesARenderableHelpPackage) {
    help::THelpServices services = Services();
    services.FindResource = resources::FindDataResource;
    ASSERT_TRUE(help::TMarkdownRenderer::SourceExist(u"help", services));
    EXPECT_TRUE(help::TMarkdownRenderer::SourceExist(u"HELP", services));
    EXPECT_FALSE(help::TMarkdownRenderer::SourceExist(u"nohelp", services));

    help::TMarkdownRenderer::Render(u"help", resources::LoadStringResource(resources::kHelpCaption), services);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].Caption, u"Справка");
    EXPECT_EQ(shown_[0].Files, (std::vector<std::u16string>{u"guide.md", u"md.html", u"md.zip", u"style.css"}));
    const std::string& page = shown_[0].PageBytes;
    EXPECT_EQ(page.rfind(std::string(kBom) + "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<link href=\"style.css\"", 0), 0u);
    EXPECT_NE(page.find("<h1>Драйвер весов Tiger"), std::string::npos);
    EXPECT_NE(page.find("<th>Сообщение</th>"), std::string::npos);
    EXPECT_NE(page.find("<td>Синтаксическая ошибка в IP-адресе</td>"), std::string::npos);
    ExpectNothingLeft();
}

}  // namespace help_tests
