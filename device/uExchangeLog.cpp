// The exchange log's way into the library's log file; kept apart so that
// TDevice itself depends on nothing but the seam.
#include "common/Common.Log.h"
#include "device/uDevice.h"

namespace device {

TExchangeLog LibraryExchangeLog() {
    return [](std::u16string_view text, std::u16string_view detail) {
        common::WriteLog(text, detail, common::TLogLevel::llDebug);
    };
}

}  // namespace device
