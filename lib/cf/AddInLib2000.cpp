#include "lib/cf/AddInLib2000.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "lib/cf/Exception.h"
#include "lib/cf/HostCalls.h"
#include "lib/cf/HostValue.h"

namespace cf {

namespace {

constexpr unsigned short kErrorReportCode = 1006;
constexpr long kCallAsProcStatus = 1;
constexpr long kCallAsFuncStatus = 1000;

// A platform word is 64 bits on some targets: what the hooks take as 32 bits
// is checked, never cut.
bool FitsInt32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

// The hooks' own number for a platform number from 30000 up.
std::optional<int32_t> ExtMethodNumber(long number) {
    const int64_t ext = static_cast<int64_t>(number) - kExtMethodBase;
    if (ext < 0 || !FitsInt32(ext)) return std::nullopt;
    return static_cast<int32_t>(ext);
}

}  // namespace

TCustomNativeComponent::TCustomNativeComponent() {
    _mt.Clear();
    _pl.Add(kLastErrorDescriptionRu, kLastErrorDescription, true, Variant(u""));
}

int32_t TCustomNativeComponent::FindExtMethod(const std::u16string&) { return -1; }
int32_t TCustomNativeComponent::GetExtMethodNParams(int32_t) { return 0; }
std::u16string TCustomNativeComponent::GetExtMethodName(int32_t, int32_t) { return {}; }
std::u16string TCustomNativeComponent::NCClassName() const { return u"AddInNativeExtension"; }

void TCustomNativeComponent::pt_Add(std::u16string name1, std::u16string name2, bool isReadonly, Variant value) {
    _pl.Add(std::move(name1), std::move(name2), isReadonly, std::move(value));
}

bool TCustomNativeComponent::Init(void* connection) {
    Connection = connection;
    OnInit();
    return true;
}

bool TCustomNativeComponent::setMemManager(void* memoryManager) {
    MemoryManager = memoryManager;
    return true;
}

long TCustomNativeComponent::GetInfo() { return 2000; }

void TCustomNativeComponent::Done() {
    _mt.Clear();
    OnDone();
}

bool TCustomNativeComponent::RegisterExtensionAs(WCHAR_T** extensionName) {
    if (extensionName == nullptr) return false;
    *extensionName = nullptr;
    *extensionName = NewHostString(NCClassName());
    return true;
}

long TCustomNativeComponent::GetNProps() { return _pl.Count(); }

long TCustomNativeComponent::FindProp(const WCHAR_T* name) { return _pl.Find(ReadHostString(name)); }

const WCHAR_T* TCustomNativeComponent::GetPropName(long number, long alias) {
    if (!_pl.Contains(number)) return nullptr;
    const TProperty& property = _pl.Get(static_cast<int32_t>(number));
    const std::u16string name = alias == 0 ? property.PropertyName1 : alias == 1 ? property.PropertyName2 : u"";
    return NewHostString(name);
}

bool TCustomNativeComponent::GetPropValue(long number, tVariant* value) {
    if (!_pl.Contains(number) || value == nullptr) return false;
    VariantToHost(MemoryManager, _pl.Get(static_cast<int32_t>(number)).Value, *value);
    return true;
}

// A read-only property refuses and stays as it is.
bool TCustomNativeComponent::SetPropValue(long number, tVariant* value) {
    if (!_pl.Contains(number) || value == nullptr) return false;
    const TProperty& property = _pl.Get(static_cast<int32_t>(number));
    if (property.isReadonly) return false;
    const std::u16string name = property.PropertyName1;
    AssignProperty(name, HostToVariant(*value));
    return true;
}

bool TCustomNativeComponent::IsPropReadable(long number) { return _pl.Contains(number); }

bool TCustomNativeComponent::IsPropWritable(long number) {
    return _pl.Contains(number) && !_pl.Get(static_cast<int32_t>(number)).isReadonly;
}

long TCustomNativeComponent::GetNMethods() { return _mt.Count(); }

long TCustomNativeComponent::FindMethod(const WCHAR_T* name) {
    return _mt.Find(ReadHostString(name), [this](const std::u16string& n) { return FindExtMethod(n); });
}

const WCHAR_T* TCustomNativeComponent::GetMethodName(long number, long alias) {
    if (number >= kExtMethodBase) {
        const std::optional<int32_t> ext = ExtMethodNumber(number);
        if (!ext || !FitsInt32(alias)) return nullptr;
        const std::u16string name = GetExtMethodName(*ext, static_cast<int32_t>(alias));
        return name.empty() ? nullptr : NewHostString(name);
    }
    if (!_mt.Contains(number)) return nullptr;
    return NewHostString(MethodNameOrEmpty(number, alias));
}

long TCustomNativeComponent::GetNParams(long number) {
    if (number >= kExtMethodBase) {
        const std::optional<int32_t> ext = ExtMethodNumber(number);
        return ext ? GetExtMethodNParams(*ext) : 0;
    }
    return _mt.Contains(number) ? _mt.Get(static_cast<int32_t>(number)).ParamsCount : 0;
}

bool TCustomNativeComponent::GetParamDefValue(long, long, tVariant* value) {
    if (value != nullptr) value->vt = VTYPE_EMPTY;
    return false;
}

bool TCustomNativeComponent::HasRetVal(long number) { return _mt.Contains(number); }

bool TCustomNativeComponent::CallAsProc(long number, tVariant* params, long count) {
    try {
        VarArrayData args = ReadArguments(params, count);
        Variant scratch;
        _mt.Call(number, args, scratch);
        WriteArguments(args, params, count);
        return true;
    } catch (...) {
        SendError(MethodNameOrEmpty(number, 0), CurrentExceptionMessage(), kCallAsProcStatus);
        return false;
    }
}

bool TCustomNativeComponent::CallAsFunc(long number, tVariant* returnValue, tVariant* params, long count) {
    _pl.SetValueDirect(kLastErrorDescription, Variant(u""));
    try {
        VarArrayData args = ReadArguments(params, count);
        const std::u16string name2 = _mt.Get(number).MethodName2;
        OnCallEntry(name2, args);
        Variant result;
        _mt.Call(number, args, result);
        if (returnValue != nullptr) VariantToHost(MemoryManager, result, *returnValue);
        OnCallExit(name2, result, args);
        WriteArguments(args, params, count);
        return true;
    } catch (...) {
        const std::u16string message = CurrentExceptionMessage();
        _pl.SetValueDirect(kLastErrorDescription,
                           Variant(u"Function " + MethodNameOrEmpty(number, 1) + u" - " + message));
        SendError(u"", message, kCallAsFuncStatus);
        return false;
    }
}

void TCustomNativeComponent::SetLocale(const WCHAR_T* locale) { (void)ReadHostString(locale); }

void TCustomNativeComponent::SetUserInterfaceLanguageCode(const WCHAR_T* code) { (void)ReadHostString(code); }

void TCustomNativeComponent::AssignProperty(const std::u16string& name, const Variant& value) {
    _pl.SetValue(name, value);
}

void TCustomNativeComponent::OnCallEntry(const std::u16string&, const VarArrayData&) {}

void TCustomNativeComponent::OnCallExit(const std::u16string&, const Variant&, const VarArrayData&) {}

VarArrayData TCustomNativeComponent::ReadArguments(const tVariant* params, long count) const {
    VarArrayData args;
    if (params == nullptr || count <= 0) return args;
    args.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        args.push_back(HostToVariant(params[i]));
        args.back().MarkPlatformArgument();
    }
    return args;
}

void TCustomNativeComponent::WriteArguments(const VarArrayData& args, tVariant* params, long count) const {
    if (params == nullptr || count <= 0) return;
    const std::size_t n = std::min(args.size(), static_cast<std::size_t>(count));
    // An argument the method did not store into stays the platform's own record.
    for (std::size_t i = 0; i < n; ++i)
        if (!args[i].IsPlatformArgument()) VariantToHost(MemoryManager, args[i], params[i]);
}

void TCustomNativeComponent::SendError(const std::u16string& source, const std::u16string& message,
                                       long status) const {
    if (Connection == nullptr) return;
    ScopedHostString hostSource(MemoryManager, source);
    ScopedHostString hostMessage(MemoryManager, message);
    host::AddError(Connection, kErrorReportCode, hostSource.get(), hostMessage.get(), status);
}

std::u16string TCustomNativeComponent::MethodNameOrEmpty(long number, long alias) const {
    if (!_mt.Contains(number)) return {};
    const TMethod& method = _mt.Get(static_cast<int32_t>(number));
    return alias == 0 ? method.MethodName1 : alias == 1 ? method.MethodName2 : u"";
}

WCHAR_T* TCustomNativeComponent::NewHostString(const std::u16string& text) const {
    WCHAR_T* address = nullptr;
    CopyToHostString(MemoryManager, text, address);
    return address;
}

}  // namespace cf
