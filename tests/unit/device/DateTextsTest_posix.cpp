#include <gtest/gtest.h>

#include "device/uScaleFrames.h"
#include "device/uSystemCodePages.h"

using namespace device;

// The date texts take the system's OEM page; here that is code page 866 with
// its stand-ins, as every other text sent to the scale.
TEST(DateTexts, SentInCodePage866WithItsStandIns) {
    EXPECT_EQ(TextToOem(u"«Годен до» — …"), StrToCP866(u"\"Годен до\" - ."));
    const std::string frame = WriteDateTextFrame(0, 2, u"Упак.|«Годен до»|Продать до");
    EXPECT_EQ(frame.substr(kHeaderSize + 2, 30), StrToCP866(u"\"Годен до\"") + std::string(20, ' '));
}
