// The test library with its log in a private folder: one traced component
// under test and one that switches the library's log and reaches the
// platform's services.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/Common.Log.h"
#include "tests/integration/FrameFixture.h"
#include "tests/unit/common/LogTestSupport.h"

namespace host_emulation {

class TraceTest : public FrameTest {
protected:
    void SetUp() override {
        log_tests::SetEnvironment(common::kLogDirVariable, folder.Path());
        FrameTest::SetUp();
        control = std::make_unique<ComponentClient>(TestFrameLibrary(), u"SecondTestComponent", memory, &connection);
        ASSERT_TRUE(Control(u"SetLogStem", {StringValue(memory, u"trace")}));
        ASSERT_TRUE(Control(u"SetLogMode", {IntValue(static_cast<int32_t>(common::TLogMode::lmAll))}));
        connection.ClearRecords();
    }
    void TearDown() override {
        Control(u"SetLogMode", {IntValue(0)});
        control.reset();
        FrameTest::TearDown();
        log_tests::UnsetEnvironment(common::kLogDirVariable);
    }

    // Calls a method of the control component; its result is dropped.
    bool Control(const std::u16string& name, std::vector<tVariant> values) {
        HostParams params(memory, std::move(values));
        tVariant result = EmptyValue();
        const bool answer = control->CallAsFunc(control->FindMethod(name), &result, params.data(), params.count());
        Release(memory, result);
        return answer;
    }

    std::u16string LogFile() {
        HostParams none(memory, {});
        tVariant result = EmptyValue();
        control->CallAsFunc(control->FindMethod(u"GetLogPath"), &result, nullptr, 0);
        std::u16string path = StringOf(result);
        Release(memory, result);
        return path;
    }

    log_tests::TempFolder folder;
    std::unique_ptr<ComponentClient> control;
};

}  // namespace host_emulation
