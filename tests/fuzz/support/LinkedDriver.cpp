#include "tests/fuzz/support/LinkedDriver.h"

#include <filesystem>

#include "common/Common.Log.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tools/host-emulation/HostValues.h"

extern "C" {
const WCHAR_T* GetClassNames();
long GetClassObject(const WCHAR_T* name, void** object);
long DestroyObject(void** object);
}

namespace fuzz_support {

using namespace host_emulation;

AddInLibrary& LinkedDriverLibrary() {
    static AddInLibrary library = [] {
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::temp_directory_path(error) / "w_quorlan7t4p-fuzz-log";
        common::SetLogFolder(folder.u16string());
        return AddInLibrary(GetClassNames, GetClassObject, DestroyObject);
    }();
    return library;
}

DriverSession::DriverSession(TReports reports)
    : driver_(std::make_unique<ComponentClient>(LinkedDriverLibrary(), u"w_quorlan7t4p", memory_, &connection_)),
      reports_(reports) {}

DriverSession::~DriverSession() {
    driver_.reset();
    Require(memory_.LiveBlocks() == 0, "platform memory the driver handed over was never freed");
    Require(memory_.Errors().empty(), "the driver freed platform memory twice or freed a foreign block");
    Require(reports_ == TReports::Allowed || connection_.Errors().empty(), "an error report reached the platform");
}

tVariant DriverSession::Text(const std::u16string& text) { return StringValue(memory_, text); }

bool DriverSession::Call(const std::u16string& method, std::vector<tVariant> args) {
    const long number = driver_->FindMethod(method);
    while (static_cast<long>(args.size()) < driver_->GetNParams(number)) args.push_back(EmptyValue());
    HostParams params(memory_, std::move(args));
    return Invoke(number, params);
}

bool DriverSession::Invoke(long number, HostParams& params) {
    Require(number >= 0, "a method of the driver is not found by its name");
    tVariant result = EmptyValue();
    Require(driver_->CallAsFunc(number, &result, params.data(), params.count()), "a method call was not delivered");
    const bool answer = result.vt == VTYPE_BOOL && result.bVal;
    Release(memory_, result);
    return answer;
}

bool DriverSession::SetParameter(const std::u16string& name, tVariant value) {
    return Call(u"SetParameter", {Text(name), value});
}

std::u16string DriverSession::LastError() {
    HostParams params(memory_, {EmptyValue()});
    Invoke(driver_->FindMethod(u"GetLastError"), params);
    return StringOf(params[0]);
}

}  // namespace fuzz_support
