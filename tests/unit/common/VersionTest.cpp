// Version numbers and the Windows version table, row by row.
#include <gtest/gtest.h>

#include "common/uCommonUtils.h"
#include "common/uPaths.h"
#include "common/uVInfo.h"
#include "common/uWindowsVersion.h"
#include "lib/cf/TextUtils.h"
#include "tests/unit/common/LogTestSupport.h"

namespace {

common::TOsVersionRecord Record(uint32_t major, uint32_t minor, uint32_t platform, uint32_t build = 1000,
                                std::u16string servicePack = u"") {
    return common::TOsVersionRecord{major, minor, build, platform, std::move(servicePack)};
}

}  // namespace

TEST(WindowsVersion, EveryRowOfTheTable) {
    struct Row {
        uint32_t major, minor, platform;
        int index;
        const char16_t* name;
    };
    const Row rows[] = {
        {4, 0, 1, 1, u"Windows 95"},    {4, 10, 1, 2, u"Windows 98"},    {4, 90, 1, 3, u"Windows ME"},
        {3, 51, 2, 4, u"Windows NT 3"}, {3, 0, 2, 4, u"Windows NT 3"},   {4, 0, 2, 5, u"Windows NT 4"},
        {5, 0, 2, 6, u"Windows 2000"},  {5, 1, 2, 7, u"Windows XP"},     {5, 2, 2, 8, u"Windows 2003"},
        {6, 0, 2, 9, u"Windows Vista"}, {6, 1, 2, 10, u"Windows 7"},     {6, 2, 2, 11, u"Windows 8.0"},
        {6, 3, 2, 12, u"Windows 8.1"},  {10, 0, 2, 13, u"Windows 10"},
        // Not in the table: unknown.
        {6, 4, 2, 0, u"Unknown"},       {10, 1, 2, 0, u"Unknown"},       {7, 0, 2, 0, u"Unknown"},
        {8, 0, 2, 0, u"Unknown"},       {9, 0, 2, 0, u"Unknown"},        {5, 3, 2, 0, u"Unknown"},
        {4, 1, 2, 0, u"Unknown"},       {11, 0, 2, 0, u"Unknown"},
    };
    for (const Row& row : rows) {
        const common::TOsVersionRecord record = Record(row.major, row.minor, row.platform);
        EXPECT_EQ(common::WindowsVersionIndex(record), row.index) << row.major << "." << row.minor;
        EXPECT_EQ(common::WindowsVersionDisplayName(row.index), std::u16string(row.name));
    }
}

TEST(WindowsVersion, FullNamesWithAndWithoutServicePack) {
    EXPECT_EQ(common::WindowsVersionName(Record(6, 2, 2, 9200)), u"Windows 8.0 (6.2.9200)");
    EXPECT_EQ(common::WindowsVersionName(Record(6, 1, 2, 7601, u"Service Pack 1")),
              u"Windows 7 Service Pack 1 (6.1.7601)");
    EXPECT_EQ(common::WindowsVersionName(Record(6, 4, 2, 9841)), u"Unknown (6.4.9841)");
    EXPECT_EQ(common::WindowsVersionName(std::nullopt), u"Unknown ");
}

TEST(WindowsVersion, TheRunningSystemIsNamed) {
    const std::u16string name = common::GetOsDisplayName();
    EXPECT_FALSE(name.empty());
    std::u16string detail;
    const int index = common::GetWindowsVersion(detail);
    if (common::QueryOsVersion()) {
        EXPECT_EQ(name, std::u16string(common::WindowsVersionDisplayName(index)) + u" " + detail);
    } else {
        EXPECT_EQ(name.rfind(u"Linux ", 0), 0u);
        EXPECT_EQ(index, 0);
        EXPECT_EQ(detail, u"");
    }
}

TEST(VersionInfo, TheLibraryCarriesTheProjectVersion) {
    EXPECT_EQ(cf::ToUtf8(common::GetFileVersionString(u"")), WQ_EXPECTED_VERSION);
    EXPECT_EQ(cf::ToUtf8(common::FormatVersion(common::GetModuleVersion())), WQ_EXPECTED_VERSION);
    EXPECT_EQ(common::GetFileVersionString(common::GetModulePath()), common::GetFileVersionString(u""));
}

TEST(VersionInfo, AFileWithoutVersionGivesZeros) {
    log_tests::TempFolder folder;
    EXPECT_EQ(common::GetFileVersionString(folder.Path() + u"missing.dll"), u"0.0.0.0");
    EXPECT_EQ(common::FormatVersion(common::TVersionNumbers{1, 2, 3, 4}), u"1.2.3.4");
    EXPECT_EQ(common::FormatVersion(common::TVersionNumbers{65535, 0, 10, 0}), u"65535.0.10.0");
}

TEST(ModulePath, IsTheRunningProgramsOwnFile) {
    const std::u16string path = common::GetModulePath();
    EXPECT_EQ(cf::ToUtf8(common::ExtractFileName(path)), log_tests::ProgramFileName("common_tests"));
    EXPECT_EQ(common::GetLongPath(path), path);
    EXPECT_EQ(common::GetLongPath(path + u".missing"), u"");
}
