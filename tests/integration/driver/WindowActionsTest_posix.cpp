// Until the Linux views exist, the window actions answer clearly instead of
// showing a window.
#include "tests/integration/driver/DriverFixture.h"

namespace driver_tests {

TEST_F(DriverTest, WindowActionsAreNotAvailableYet) {
    ASSERT_TRUE(OpenOnSimulator());
    EXPECT_FALSE(CallBool(u"DoAdditionalAction", {Text(u"viewlog")}));
    EXPECT_EQ(LastError().second, u"Окно просмотра лога недоступно в этой версии драйвера");
    EXPECT_FALSE(CallBool(u"DoAdditionalAction", {Text(u"ShowAdvSettings")}));
    EXPECT_EQ(LastError().second, u"Окно дополнительных настроек недоступно в этой версии драйвера");
    EXPECT_FALSE(CallBool(u"DoAdditionalAction", {Text(u"ShowHelp")}));
    EXPECT_EQ(LastError().second, u"Окно справки недоступно в этой версии драйвера");
}

}  // namespace driver_tests
