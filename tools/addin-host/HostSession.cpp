#include "tools/addin-host/HostSession.h"

#include <iostream>
#include <ostream>
#include <stdexcept>

#include "lib/cf/TextUtils.h"
#include "tools/host-emulation/HostValues.h"
#include "tools/addin-host/HostArguments.h"

namespace addin_host {

using namespace host_emulation;

HostSession::HostSession(const std::string& libraryPath, bool reportTiming, const std::u16string& className)
    : reportTiming_(reportTiming), library_(std::make_unique<AddInLibrary>(libraryPath)) {
    std::u16string name = className;
    if (name.empty()) {
        const std::u16string names = library_->GetClassNames();
        name = names.substr(0, names.find(u'|'));
    }
    component_ = std::make_unique<ComponentClient>(*library_, name, memory_, &connection_);
    loaded_ = Clock::now() - started_;
}

HostSession::~HostSession() {
    if (!reportTiming_) return;
    const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::cerr << "timing: loaded and created in " << ms(loaded_) << " ms";
    if (firstAnswer_) std::cerr << "; first call answered " << ms(*firstAnswer_) << " ms after the load began";
    std::cerr << "\n";
}

CallOutcome HostSession::Call(const std::string& method, std::vector<tVariant> args) {
    const long number = component_->FindMethod(cf::FromUtf8(method));
    if (number < 0) {
        HostParams cleanup(memory_, std::move(args));
        throw std::runtime_error("no method " + method);
    }
    const long expected = component_->GetNParams(number);
    while (static_cast<long>(args.size()) < expected) args.push_back(EmptyValue());
    HostParams params(memory_, std::move(args));
    const std::size_t reportsBefore = connection_.Errors().size();

    CallOutcome outcome;
    tVariant result = EmptyValue();
    outcome.delivered = component_->CallAsFunc(number, &result, params.data(), params.count());
    if (!firstAnswer_) firstAnswer_ = Clock::now() - started_;
    outcome.result = DescribeValue(result);
    outcome.resultIsTrue = result.vt == VTYPE_BOOL && result.bVal;
    Release(memory_, result);
    for (long i = 0; i < params.count(); ++i) outcome.params.push_back(DescribeValue(params[static_cast<std::size_t>(i)]));
    for (std::size_t i = reportsBefore; i < connection_.Errors().size(); ++i) {
        const ErrorReport& report = connection_.Errors()[i];
        outcome.errors.push_back("AddError " + std::to_string(report.code) + " [" + cf::ToUtf8(report.source) +
                                 "] " + cf::ToUtf8(report.description));
    }
    return outcome;
}

std::string HostSession::LastError() {
    std::vector<tVariant> args;
    args.push_back(EmptyValue());
    const CallOutcome outcome = Call("GetLastError", std::move(args));
    return outcome.result + ": " + (outcome.params.empty() ? std::string() : outcome.params[0]);
}

namespace {

// Long parameters (whole documents sent in) are shown by their start only.
std::string Shortened(const std::string& text) {
    constexpr std::size_t kShown = 160;
    if (text.size() <= 2 * kShown) return text;
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8 characters
    return text.substr(0, cut) + "... (" + std::to_string(text.size()) + " bytes)";
}

}  // namespace

void PrintOutcome(std::ostream& out, const std::string& method, const CallOutcome& outcome) {
    for (const std::string& error : outcome.errors) out << error << "\n";
    if (!outcome.delivered) {
        out << method << ": the call failed\n";
        return;
    }
    out << method << " = " << outcome.result << "\n";
    for (std::size_t i = 0; i < outcome.params.size(); ++i) out << "  [" << i << "] " << Shortened(outcome.params[i]) << "\n";
}

std::string DefaultLibraryPath() { return ExecutableFolder() + WQ_DRIVER_LIBRARY; }

}  // namespace addin_host
