// The driver on a machine without a graphical environment: without a display
// or without GTK the library still loads and uploads, and each window action
// answers why it cannot show its window.
#include <cstdlib>
#include <optional>

#include "tests/integration/driver/DriverFixture.h"

#include "lib/cf/TextUtils.h"

namespace driver_tests {

namespace {

// An environment variable changed for one test and put back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : FName(name) {
        if (const char* old = std::getenv(name)) FOld = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (FOld)
            setenv(FName, FOld->c_str(), 1);
        else
            unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

class WithoutDisplay : public DriverTest {
protected:
    // The actions answer the reason; the driver stays open and uploads.
    void ExpectEveryActionAnswers(const std::u16string& reason) {
        ASSERT_TRUE(OpenOnSimulator());
        for (const char16_t* action : {u"viewlog", u"ShowAdvSettings", u"ShowHelp"}) {
            EXPECT_FALSE(CallBool(u"DoAdditionalAction", {Text(action)})) << cf::ToUtf8(action);
            EXPECT_EQ(LastError(), std::make_pair(1001, u"Нет графического окружения: " + reason));
        }
        EXPECT_TRUE(CallBool(u"UploadGoods", {host_emulation::EmptyValue(), Text(GoodsDocument(1, 3)), Text(u"first")}));
        EXPECT_EQ(sim->State().Plu.size(), 3u);
    }
};

}  // namespace

TEST_F(WithoutDisplay, NoDisplayVariable) {
    ScopedVariable display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr);
    ExpectEveryActionAnswers(u"не задан дисплей (переменные DISPLAY и WAYLAND_DISPLAY пусты)");
}

// A display but no GTK to be found: the name the library loads is one no system has.
TEST_F(WithoutDisplay, NoGtkLibrary) {
    ScopedVariable display("DISPLAY", ":0"), library("W_QUORLAN7T4P_GTK_LIBRARY", "libgtk-3-absent.so.0");
    ExpectEveryActionAnswers(u"не удалось загрузить libgtk-3-absent.so.0 (libgtk-3-absent.so.0: cannot open shared object "
                             u"file: No such file or directory)");
}

}  // namespace driver_tests
