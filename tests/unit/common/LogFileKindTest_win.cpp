// A symbolic link planted under the log's name is never written through.
#include <windows.h>

#include "tests/unit/common/LogFixture.h"

using namespace log_tests;
using common::TLogLevel;
using common::TLogMode;

namespace {
const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
}  // namespace

TEST_F(LogTest, ALinkToAnotherFileIsNeverWrittenThrough) {
    TempFolder elsewhere;
    const std::u16string victim = elsewhere.Path() + u"victim.txt";
    HANDLE file = CreateFileW(Wide(victim), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "precious", 8, &written, nullptr);
    CloseHandle(file);
    constexpr DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    if (!CreateSymbolicLinkW(Wide(TodaysFile()), Wide(victim), kUnprivileged))
        CreateSymbolicLinkW(Wide(TodaysFile()), Wide(victim), 0);
    // Some systems (Wine among them) answer true and make no link at all.
    const DWORD attributes = GetFileAttributesW(Wide(TodaysFile()));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        GTEST_SKIP() << "this system made no symbolic link";

    common::SetLogMode(TLogMode::lmAll);
    common::WriteLog(u"injected", u"", TLogLevel::llError);
    EXPECT_NE(common::LogWriteProblem().find(TodaysFile()), std::u16string::npos);
    EXPECT_EQ(ReadFileBytes(victim), "precious");
}
