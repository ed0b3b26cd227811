// A loaded test library and one component, set up as the platform does.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/TestLibraries.h"
#include "tools/host-emulation/AddInClient.h"
#include "tools/host-emulation/HostValues.h"

namespace host_emulation {

inline AddInLibrary& TestFrameLibrary() {
    static AddInLibrary library(TestFrameLibraryPath());
    return library;
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        component = std::make_unique<ComponentClient>(TestFrameLibrary(), u"TestComponent", memory, &connection);
        baseline = memory.LiveBlocks();
    }
    void TearDown() override {
        // The component owns nothing in platform memory between calls.
        EXPECT_EQ(memory.LiveBlocks(), baseline);
        component.reset();
        EXPECT_TRUE(memory.Errors().empty()) << memory.Errors().front();
    }
    long Method(const std::u16string& name) const { return component->FindMethod(name); }

    HostMemoryManager memory;
    HostConnection connection;
    std::unique_ptr<ComponentClient> component;
    std::size_t baseline = 0;
};

}  // namespace host_emulation
