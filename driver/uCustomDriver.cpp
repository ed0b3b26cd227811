#include "driver/uCustomDriver.h"

#include "common/Common.Log.h"
#include "lib/cf/Exception.h"
#include "lib/cf/VariantConvert.h"

namespace driver {

TCustomDriver::TCustomDriver() { FLastResult.Clear(); }

void TCustomDriver::ReportError(const std::u16string& message) {
    FLastResult.SetError(message, kDriverErrorCode);
    common::WriteLog(u"Exception", message, common::TLogLevel::llError);
}

cf::Variant TCustomDriver::GetSettingValue(const std::u16string& id) {
    try {
        return _pl.Value(id);
    } catch (const cf::Exception& e) {
        ReportError(e.Message());
        return {};
    }
}

bool TCustomDriver::GetSettingValueBool(const std::u16string& id) { return cf::VarToBool(GetSettingValue(id)); }
int32_t TCustomDriver::GetSettingValueInt(const std::u16string& id) { return cf::VarToInt32(GetSettingValue(id)); }
std::u16string TCustomDriver::GetSettingValueStr(const std::u16string& id) { return cf::VarToStr(GetSettingValue(id)); }
cf::Currency TCustomDriver::GetSettingValueCurr(const std::u16string& id) { return cf::VarToCurrency(GetSettingValue(id)); }
double TCustomDriver::GetSettingValueDbl(const std::u16string& id) { return cf::VarToDouble(GetSettingValue(id)); }
double TCustomDriver::GetSettingValueDate(const std::u16string& id) { return cf::VarToDateTime(GetSettingValue(id)); }

}  // namespace driver
