#include <gtest/gtest.h>

#include <limits>

#include "driver/XmlDocuments.h"
#include "lib/cf/Exception.h"
#include "lib/cf/FormatSettings.h"
#include "lib/cf/TextUtils.h"

using namespace driver;
using cf::Variant;

namespace {

// The process decimal separator as a driver's Open leaves it.
class PointSeparator : public ::testing::Test {
protected:
    void SetUp() override {
        saved = cf::FormatSettings().DecimalSeparator;
        cf::FormatSettings().DecimalSeparator = u'.';
    }
    void TearDown() override { cf::FormatSettings().DecimalSeparator = saved; }
    char16_t saved{};
};

}  // namespace

TEST(AttributeReaders, IntegersAreTrimmedDecimalsOnly) {
    EXPECT_EQ(VarToIntDef(Variant(u" 42 "), -1), 42);
    EXPECT_EQ(VarToIntDef(Variant(u"-17"), 0), -17);
    EXPECT_EQ(VarToIntDef(Variant(u"+5"), 0), 5);
    EXPECT_EQ(VarToIntDef(Variant(u"2147483647"), 0), 2147483647);
    EXPECT_EQ(VarToIntDef(Variant(u"-2147483648"), 0), -2147483647 - 1);
    for (const char16_t* bad : {u"42.0", u"2147483648", u"abc", u"", u"4 2", u"-", u"0x10"})
        EXPECT_EQ(VarToIntDef(Variant(bad), -999999), -999999) << std::string(bad, bad + 0);
    EXPECT_EQ(VarToIntDef(Variant::MakeNull(), 7), 7);
    EXPECT_EQ(VarToIntDef(Variant(), 7), 7);
}

TEST_F(PointSeparator, CurrencyIsExactAndRoundsHalvesToEven) {
    EXPECT_EQ(VarToCurrDef(Variant(u"12.50"), -1), 125000);
    EXPECT_EQ(VarToCurrDef(Variant(u"12.5"), -1), 125000);
    EXPECT_EQ(VarToCurrDef(Variant(u"0.00005"), -1), 0);
    EXPECT_EQ(VarToCurrDef(Variant(u"0.00015"), -1), 2);
    EXPECT_EQ(VarToCurrDef(Variant(u"0.000151"), -1), 2);
    EXPECT_EQ(VarToCurrDef(Variant(u"-1.23456"), -1), -12346);
    EXPECT_EQ(VarToCurrDef(Variant(u"6e-10"), -1), 0);
    EXPECT_EQ(VarToCurrDef(Variant(u"1.5E2"), -1), 1500000);
    EXPECT_EQ(VarToCurrDef(Variant(u" 7 "), -1), 70000);
    for (const char16_t* bad : {u"1.234.50", u"12,50", u"", u"abc", u".", u"1e", u"99999999999999999999"})
        EXPECT_EQ(VarToCurrDef(Variant(bad), -999999), -999999);
    EXPECT_EQ(VarToCurrDef(Variant::MakeNull(), -999999), -999999);
}

// Every value of the 64-bit currency reads, one beyond it does not; a number
// far below a ten-thousandth reads as zero whatever its exponent.
TEST_F(PointSeparator, CurrencyCoversTheWholeSixtyFourBitRange) {
    EXPECT_EQ(VarToCurrDef(Variant(u"922337203685477.5807"), -1), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(VarToCurrDef(Variant(u"-922337203685477.58075"), -1), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(VarToCurrDef(Variant(u"900000000000000"), -1), int64_t{9000000000000000000});
    EXPECT_EQ(VarToCurrDef(Variant(u"0000000000000000000000012.5"), -1), 125000);
    EXPECT_EQ(VarToCurrDef(Variant(u"1e-50"), -1), 0);
    EXPECT_EQ(VarToCurrDef(Variant(u"-0e99"), -1), 0);
    for (const char16_t* beyond : {u"922337203685477.5808", u"922337203685477.58075", u"-922337203685477.58086",
                                   u"1e15", u"1e2147483648"})
        EXPECT_EQ(VarToCurrDef(Variant(beyond), -999999), -999999) << cf::ToUtf8(beyond);
}

TEST(AttributeReaders, BooleansOnlyFromTrueAndFalse) {
    EXPECT_FALSE(VarToBoolDef(Variant(u"FALSE"), true));
    EXPECT_TRUE(VarToBoolDef(Variant(u"true"), false));
    for (const char16_t* other : {u"0", u"1", u"yes", u" true", u""}) EXPECT_TRUE(VarToBoolDef(Variant(other), true));
    EXPECT_FALSE(VarToBoolDef(Variant::MakeNull(), false));
}

// Attributes are read in place as texts: on every text the readers answer as
// on a string value holding it, and on the empty text (an absent attribute)
// as on null, with either decimal separator.
TEST_F(PointSeparator, TextReadersAnswerAsTheValueReaders) {
    const char16_t* const texts[] = {u" 42 ", u"-17", u"+5", u"2147483647", u"-2147483648", u"42.0", u"2147483648",
                                     u"abc", u"", u" ", u"4 2", u"-", u"0x10", u"\t7\r\n", u"12.50", u"12,50",
                                     u"0.00015", u"-1.23456", u"6e-10", u"1.5E2", u"1.234.50", u".", u"1e",
                                     u"99999999999999999999", u"true", u"FALSE", u" true", u"yes", u"1", u"0", u"Ёж"};
    const std::u16string_view absent;
    for (const char16_t separator : {u'.', u','}) {
        cf::FormatSettings().DecimalSeparator = separator;
        for (const std::u16string_view text : texts) {
            const Variant value{std::u16string(text)};
            EXPECT_EQ(VarToIntDef(text, -999999), VarToIntDef(value, -999999)) << cf::ToUtf8(text);
            EXPECT_EQ(VarToCurrDef(text, -999999), VarToCurrDef(value, -999999)) << cf::ToUtf8(text);
            EXPECT_EQ(VarToBoolDef(text, true), VarToBoolDef(value, true)) << cf::ToUtf8(text);
            EXPECT_EQ(VarToBoolDef(text, false), VarToBoolDef(value, false)) << cf::ToUtf8(text);
        }
        EXPECT_EQ(VarToIntDef(absent, 7), VarToIntDef(Variant::MakeNull(), 7));
        EXPECT_EQ(VarToCurrDef(absent, 7), VarToCurrDef(Variant::MakeNull(), 7));
        EXPECT_EQ(VarToBoolDef(absent, false), VarToBoolDef(Variant::MakeNull(), false));
    }
}

TEST(OutputDocuments, DeclarationAttributeOrderBooleansAndCrLf) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("DriverDescription");
    SetAttribute(root, "Name", u"w_quorlan7t4p");
    SetAttribute(root, "Description", u"Весы <\"тест\"> & Ко");
    SetBoolAttribute(root, "IntegrationComponent", false);
    SetBoolAttribute(root, "LogIsEnabled", true);
    EXPECT_EQ(XmlToText(document),
              u"<?xml version=\"1.0\"?>\r\n<DriverDescription Name=\"w_quorlan7t4p\" "
              u"Description=\"Весы &lt;&quot;тест&quot;> &amp; Ко\" IntegrationComponent=\"false\" "
              u"LogIsEnabled=\"true\" />\r\n");
}

TEST(OutputDocuments, EmbeddedStyleDocumentKeepsContentAndEndsEveryLineWithCrLf) {
    pugi::xml_document document;
    ParseXmlUtf8("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Actions>\n<Action Name=\"ViewLog\" "
                 "Caption=\"\xD0\x9B\xD0\xBE\xD0\xB3\"/></Actions>",
                 document);
    const std::u16string text = XmlToText(document);
    EXPECT_EQ(text, u"<?xml version=\"1.0\"?>\r\n<Actions>\r\n\t<Action Name=\"ViewLog\" Caption=\"Лог\" />\r\n"
                    u"</Actions>\r\n");
}
