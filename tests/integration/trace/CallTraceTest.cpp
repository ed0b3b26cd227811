// The trace of CallAsFunc through the exports: the entry and exit lines, and
// the shield's answer when a method fails.
#include "lib/cf/TextUtils.h"
#include "tests/integration/trace/TraceFixture.h"

using namespace host_emulation;

namespace {

// Entry lines appended by one call, each without its timestamp; a timestamp
// that is not "yyyy.mm.dd hh:nn:ss.zzz" followed by a tab stays in the line.
std::vector<std::string> WithoutTimestamps(const std::string& bytes) {
    std::vector<std::string> lines;
    for (const std::string& line : log_tests::CrLfLines(bytes)) {
        const bool stamped = line.size() > 24 && line[4] == '.' && line[7] == '.' && line[10] == ' ' &&
                             line[13] == ':' && line[16] == ':' && line[19] == '.' && line[23] == '\t';
        lines.push_back(stamped ? line.substr(24) : line);
    }
    return lines;
}

class CallTrace : public TraceTest {
protected:
    // Runs one CallAsFunc and answers the log lines it added.
    std::vector<std::string> Traced(const std::u16string& method, std::vector<tVariant> values, bool* answer = nullptr) {
        const std::u16string file = LogFile();
        const std::size_t before = log_tests::ReadFileBytes(file).size();
        HostParams params(memory, std::move(values));
        tVariant result = EmptyValue();
        const bool ok = component->CallAsFunc(Method(method), &result, params.data(), params.count());
        if (answer != nullptr) *answer = ok;
        Release(memory, result);
        return WithoutTimestamps(log_tests::ReadFileBytes(file).substr(before));
    }
};

std::string U8(const std::u16string& text) { return cf::ToUtf8(text); }

}  // namespace

TEST_F(CallTrace, EntryAndExitLinesOfASuccessfulCall) {
    EXPECT_EQ(Traced(u"ChangeFirst", {StringValue(memory, u"описание"), DoubleValue(2.5)}),
              (std::vector<std::string>{U8(u"DEBUG\t> ChangeFirst: \tParams: [описание; 2,5]"),
                                        U8(u"DEBUG\t< ChangeFirst: \tResult=True; Params: [изменено: описание; 2,5]")}));
}

TEST_F(CallTrace, ResultOtherThanBooleanAndEveryKindOfArgument) {
    EXPECT_EQ(Traced(u"Add", {IntValue(-2), IntValue(5)}),
              (std::vector<std::string>{"DEBUG\t> Add: \tParams: [-2; 5]", "DEBUG\t< Add: \t; Params: [-2; 5]"}));
    EXPECT_EQ(Traced(u"Echo", {TmValue(2024, 1, 31, 23, 59, 59)}),
              (std::vector<std::string>{"DEBUG\t> Echo: \tParams: [31.01.2024 23:59:59]",
                                        "DEBUG\t< Echo: \t; Params: [31.01.2024 23:59:59]"}));
    EXPECT_EQ(Traced(u"Echo", {BoolValue(false)}),
              (std::vector<std::string>{"DEBUG\t> Echo: \tParams: [False]", "DEBUG\t< Echo: \tResult=False; Params: [False]"}));
    EXPECT_EQ(Traced(u"Echo", {EmptyValue()}),
              (std::vector<std::string>{"DEBUG\t> Echo: \tParams: []", "DEBUG\t< Echo: \t; Params: []"}));
}

TEST_F(CallTrace, MethodWithoutParameters) {
    const std::u16string file = LogFile();
    const std::size_t before = log_tests::ReadFileBytes(file).size();
    ASSERT_TRUE(Control(u"FileVersion", {}));
    EXPECT_EQ(WithoutTimestamps(log_tests::ReadFileBytes(file).substr(before)),
              (std::vector<std::string>{"DEBUG\t> FileVersion: \tParams: []", "DEBUG\t< FileVersion: \t; Params: []"}));
}

TEST_F(CallTrace, BlobArgumentIsTracedBySize) {
    bool answer = false;
    EXPECT_EQ(Traced(u"Echo", {BlobValue(memory, {1, 2, 3, 4})}, &answer),
              (std::vector<std::string>{"DEBUG\t> Echo: \tParams: [<blob: 4 bytes>]",
                                        "DEBUG\t< Echo: \t; Params: [<blob: 4 bytes>]"}));
    EXPECT_TRUE(answer);
}

TEST_F(CallTrace, RaisingHandlerLeavesOnlyTheEntryLine) {
    bool answer = true;
    EXPECT_EQ(Traced(u"Raise", {}, &answer), std::vector<std::string>{"DEBUG\t> Raise: \tParams: []"});
    EXPECT_FALSE(answer);
    EXPECT_EQ(component->LastErrorDescription(), u"Function Raise - Тестовая ошибка");
    EXPECT_EQ(connection.Errors(), (std::vector<ErrorReport>{{1006, u"", u"Тестовая ошибка", 1000}}));
    // A successful call afterwards empties the description.
    Traced(u"Add", {IntValue(1), IntValue(1)});
    EXPECT_EQ(component->LastErrorDescription(), u"");
}

TEST_F(CallTrace, ErrorsOnlyModeWritesNothingForASuccessfulCall) {
    ASSERT_TRUE(Control(u"SetLogMode", {IntValue(static_cast<int32_t>(common::TLogMode::lmErrors))}));
    EXPECT_TRUE(Traced(u"Add", {IntValue(1), IntValue(2)}).empty());
    bool answer = true;
    EXPECT_TRUE(Traced(u"Raise", {}, &answer).empty());
    EXPECT_FALSE(answer);
}

TEST_F(CallTrace, TheLibraryWritesTheStopBannerWhenItUnloads) {
    const std::string program = log_tests::ProgramFolder() + log_tests::ProgramFileName("trace_unload_helper");
    log_tests::TempFolder own;
    log_tests::ChildProcess helper(program, {cf::ToUtf8(own.Path())});
    ASSERT_EQ(helper.Wait(), 0);
    const std::vector<std::u16string> files = log_tests::FilesIn(own.Path());
    ASSERT_EQ(files.size(), 1u);
    const std::vector<std::string> lines = log_tests::CrLfLines(log_tests::ReadFileBytes(own.Path() + files[0]));
    // The banner, the exit of the call that switched the log on, one traced call, the stop banner.
    ASSERT_EQ(lines.size(), 6u + 3u + 2u);
    EXPECT_EQ(lines[1], "============Start log=============");
    EXPECT_EQ(lines[4], std::string("App. version:\t") + WQ_EXPECTED_VERSION);
    EXPECT_EQ(WithoutTimestamps(lines[6] + "\r\n" + lines[7] + "\r\n" + lines[8]),
              (std::vector<std::string>{"DEBUG\t< SetLogMode: \tResult=True; Params: [3]",
                                        "DEBUG\t> FileVersion: \tParams: []", "DEBUG\t< FileVersion: \t; Params: []"}));
    EXPECT_EQ(lines[9], "============Stop log===============");
    EXPECT_EQ(lines[10], "");
}
