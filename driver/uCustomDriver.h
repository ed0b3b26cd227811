// The first driver class above the frame: typed reads of the settings kept
// in the property table, the last result, and one way to report a failure.
#pragma once

#include <cstdint>
#include <string>

#include "lib/cf/Variant.h"
#include "lib/cf/uExtAddInLib2000.h"

namespace driver {

struct TResult {
    int32_t ErrorCode = 0;
    std::u16string ErrorDescription;

    void Clear() {
        ErrorCode = 0;
        ErrorDescription.clear();
    }
    void SetError(std::u16string description, int32_t code) {
        ErrorDescription = std::move(description);
        ErrorCode = code;
    }
};

// Every failure a driver reports carries this code, whatever raised it.
inline constexpr int32_t kDriverErrorCode = 1001;

class TCustomDriver : public cf::TExtNativeComponent {
public:
    TCustomDriver();

    // A copy of the setting's value; an unknown name is reported and gives the empty value.
    cf::Variant GetSettingValue(const std::u16string& id);
    // These convert with the usual variant rules and raise when the value has no such form.
    bool GetSettingValueBool(const std::u16string& id);
    int32_t GetSettingValueInt(const std::u16string& id);
    std::u16string GetSettingValueStr(const std::u16string& id);
    cf::Currency GetSettingValueCurr(const std::u16string& id);
    double GetSettingValueDbl(const std::u16string& id);
    double GetSettingValueDate(const std::u16string& id);

    const TResult& LastResult() const { return FLastResult; }

protected:
    // Stores the failure as the last result (code 1001) and logs it.
    void ReportError(const std::u16string& message);

    TResult FLastResult;
};

}  // namespace driver
