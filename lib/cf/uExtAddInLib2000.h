// The base of the driver classes: every method call through CallAsFunc is
// traced to the log before and after the method runs; the base class's
// shield turns an error into LastErrorDescription, one error report to the
// platform and a false answer.
#pragma once

#include <string>

#include "lib/cf/NativeComponent.h"
#include "lib/cf/uEquipmentErrors.h"

namespace cf {

class TExtNativeComponent : public TNativeComponent {
public:
    // prefix + "[" + the arguments' text forms joined by "; " + "]"; a byte array shows as "<blob: N bytes>".
    static std::u16string ArgumentList(const VarArrayData& args, std::u16string_view prefix = {});
    // "Result=True"/"Result=False" for a boolean result, else empty.
    static std::u16string ResultPart(const Variant& result);

protected:
    void OnCallEntry(const std::u16string& methodName2, const VarArrayData& args) override;
    void OnCallExit(const std::u16string& methodName2, const Variant& result, const VarArrayData& args) override;
};

}  // namespace cf
