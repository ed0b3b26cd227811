#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "device/uSectionFile.h"

using namespace device;

namespace {

class SectionFile : public ::testing::Test {
protected:
    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("wq_labels_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".mtt");
    }
    void TearDown() override { std::filesystem::remove(path); }
    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::u16string Name() const { return path.u16string(); }

    std::filesystem::path path;
};

}  // namespace

TEST_F(SectionFile, SectionTextBetweenItsMarkers) {
    Write("[Label1]\r\n0102AB\r\n[/Label1]\r\n[Label2]\r\nFFEE\r\n[/Label2]\r\n");
    EXPECT_EQ(ReadFileSection(Name(), u"Label1", u"none"), u"0102AB");
    EXPECT_EQ(ReadFileSection(Name(), u"Label2", u"none"), u"FFEE");
    EXPECT_EQ(ReadFileSection(Name(), u"label1", u"none"), u"none");  // case-sensitive
    EXPECT_EQ(ReadFileSection(Name(), u"Label3", u"none"), u"none");
    EXPECT_EQ(ReadFileSection(Name() + u"x", u"Label1", u"none"), u"none");
}

TEST_F(SectionFile, ClosingMarkerMustEndWithLineBreak) {
    Write("[A]\r\n0102\r\n[/A]");
    EXPECT_EQ(ReadFileSection(Name(), u"A", u"d"), u"d");
    Write("[A]\r\n0102\r\n[/A]\r\n");
    EXPECT_EQ(ReadFileSection(Name(), u"A", u"d"), u"0102");
    Write("[A]\r\n[/A]\r\n");
    EXPECT_EQ(ReadFileSection(Name(), u"A", u"d"), u"d");
    Write("\r\n[/A]\r\n[A]\r\n0102\r\n");
    EXPECT_EQ(ReadFileSection(Name(), u"A", u"d"), u"d");
}

TEST_F(SectionFile, SectionNamesInFileOrder) {
    Write("[Label1]\r\n01\r\n[/Label1]\r\n[]\r\n[Big]\r\n02\r\n[/Big]\r\n[Label1]\r\n");
    std::vector<std::u16string> names{u"kept"};
    ReadFileSectionNames(Name(), names);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"kept", u"Label1", u"Big", u"Label1"}));
    std::vector<std::u16string> none;
    ReadFileSectionNames(Name() + u"x", none);
    EXPECT_TRUE(none.empty());
}
