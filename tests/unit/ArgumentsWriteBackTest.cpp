// After a call the component hands back only the arguments its method stored
// into; an argument left as it came stays the platform's own record.
#include <gtest/gtest.h>

#include <utility>

#include "lib/cf/AddInLib2000.h"
#include "tools/host-emulation/HostValues.h"

using namespace cf;
using namespace host_emulation;

namespace {

class ArgumentsWriteBack : public ::testing::Test {
protected:
    void SetUp() override { component.setMemManager(memory.Interface()); }
    void TearDown() override { EXPECT_TRUE(memory.Errors().empty()); }

    // Runs a two-argument method on two platform strings through CallAsFunc.
    void Run(TObjectMethod handler) {
        component.Methods().Add(u"Проба", u"Probe", 2, std::move(handler));
        first = params[0].pwstrVal;
        second = params[1].pwstrVal;
        allocations = memory.Allocations();
        frees = memory.Frees();
        tVariant result = EmptyValue();
        ASSERT_TRUE(component.CallAsFunc(0, &result, params.data(), params.count()));
    }
    std::size_t Allocated() const { return memory.Allocations() - allocations; }
    std::size_t Freed() const { return memory.Frees() - frees; }

    HostMemoryManager memory;
    TCustomNativeComponent component;
    HostParams params{memory, {StringValue(memory, u"первый"), StringValue(memory, u"второй")}};
    const WCHAR_T* first = nullptr;
    const WCHAR_T* second = nullptr;
    std::size_t allocations = 0;
    std::size_t frees = 0;
};

}  // namespace

TEST_F(ArgumentsWriteBack, ReadingThroughAChangeableListStoresNothing) {
    Run([](VarArrayData& args, Variant& result) {
        result = Variant(static_cast<int32_t>(args.at(0).StringValue().size() + args.at(1).StringValue().size()));
    });
    EXPECT_EQ(params[0].pwstrVal, first);
    EXPECT_EQ(params[1].pwstrVal, second);
    EXPECT_EQ(StringOf(params[0]), u"первый");
    EXPECT_EQ(Allocated(), 0u);
    EXPECT_EQ(Freed(), 0u);
}

TEST_F(ArgumentsWriteBack, AnArgumentCopiedFromAnotherIsStoredInto) {
    Run([](VarArrayData& args, Variant&) { args.at(0) = args.at(1); });
    EXPECT_EQ(StringOf(params[0]), u"второй");
    EXPECT_EQ(params[1].pwstrVal, second);
    EXPECT_EQ(Allocated(), 1u);
    EXPECT_EQ(Freed(), 1u);
}

TEST_F(ArgumentsWriteBack, SwappedArgumentsAreBothStoredInto) {
    Run([](VarArrayData& args, Variant&) { std::swap(args.at(0), args.at(1)); });
    EXPECT_EQ(StringOf(params[0]), u"второй");
    EXPECT_EQ(StringOf(params[1]), u"первый");
    EXPECT_EQ(Allocated(), 2u);
    EXPECT_EQ(Freed(), 2u);
}
