#include "lib/cf/uExtAddInLib2000.h"

#include "common/Common.Log.h"
#include "common/uVInfo.h"
#include "lib/cf/TextUtils.h"
#include "lib/cf/VariantConvert.h"

namespace cf {

namespace {

std::u16string TraceText(const Variant& value) {
    // A blob has no text form; its size is what the trace can tell.
    if (value.IsArray() && value.ElementKind() == VarKind::UInt8) {
        const int64_t size = value.UpperBound() > 0 ? value.UpperBound() : 0;
        return u"<blob: " + IntToStr(size) + u" bytes>";
    }
    return VarToStr(value);
}

}  // namespace

std::u16string TExtNativeComponent::ArgumentList(const VarArrayData& args, std::u16string_view prefix) {
    // Sized first and filled once: a document argument may be tens of megabytes,
    // and every growth step would hold two copies of it.
    std::size_t size = prefix.size() + 2;
    for (const Variant& arg : args) size += 2 + (arg.IsString() ? arg.StringValue().size() : 0);
    std::u16string list;
    list.reserve(size);
    list += prefix;
    list += u"[";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) list += u"; ";
        if (args[i].IsString())
            list += args[i].StringValue();
        else
            list += TraceText(args[i]);
    }
    list += u"]";
    return list;
}

std::u16string TExtNativeComponent::ResultPart(const Variant& result) {
    if (result.Kind() != VarKind::Bool) return {};
    return result.BoolValue() ? u"Result=True" : u"Result=False";
}

void TExtNativeComponent::OnCallEntry(const std::u16string& methodName2, const VarArrayData& args) {
    if (!common::LogAccepts(common::TLogLevel::llDebug)) return;
    common::WriteLog(u"> " + methodName2, ArgumentList(args, u"Params: "), common::TLogLevel::llDebug);
}

void TExtNativeComponent::OnCallExit(const std::u16string& methodName2, const Variant& result,
                                     const VarArrayData& args) {
    if (!common::LogAccepts(common::TLogLevel::llDebug)) return;
    common::WriteLog(u"< " + methodName2, ArgumentList(args, ResultPart(result) + u"; Params: "),
                     common::TLogLevel::llDebug);
}

// Defined here, beside the other user of the common services, so that the
// frame's own objects need nothing of them.
std::u16string TCustomNativeComponent::GetFileVersion() const { return common::GetFileVersionString(u""); }

}  // namespace cf
