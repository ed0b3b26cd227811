// The message an action raises, for tests that compare the library's texts.
#pragma once

#include <string>

#include "lib/cf/Exception.h"

namespace test_support {

// The cf::Exception message, or "(no error)" when the action raised nothing.
template <typename F>
std::u16string MessageOf(F&& action) {
    try {
        action();
    } catch (const cf::Exception& e) {
        return e.Message();
    }
    return u"(no error)";
}

}  // namespace test_support
