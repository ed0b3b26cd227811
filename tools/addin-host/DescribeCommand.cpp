// addin-host describe: what the library offers, as the platform sees it.
#include <iostream>

#include "lib/cf/TextUtils.h"
#include "tools/host-emulation/HostValues.h"
#include "tools/addin-host/Commands.h"
#include "tools/addin-host/HostSession.h"

namespace addin_host {

namespace {

void PrintDocument(HostSession& session, const char* method) {
    std::vector<tVariant> args;
    args.push_back(host_emulation::EmptyValue());
    const CallOutcome outcome = session.Call(method, std::move(args));
    std::cout << "\n== " << method << "\n";
    if (outcome.resultIsTrue && !outcome.params.empty())
        std::cout << outcome.params[0];
    else
        std::cout << "(failed: " << session.LastError() << ")\n";
}

}  // namespace

int Describe(const Options& options) {
    HostSession session(options.library, options.timing);
    auto& component = session.Component();
    std::cout << "Classes: " << cf::ToUtf8(session.Library().GetClassNames()) << "\n";
    std::cout << "\nMethods (number: Russian / English, parameters):\n";
    for (long i = 0; i < component.GetNMethods(); ++i) {
        std::cout << "  " << i << ": " << cf::ToUtf8(component.GetMethodName(i, 0)) << " / "
                  << cf::ToUtf8(component.GetMethodName(i, 1)) << ", " << component.GetNParams(i) << "\n";
    }
    std::cout << "\nProperties (number: Russian / English, writable):\n";
    for (long i = 0; i < component.GetNProps(); ++i) {
        std::cout << "  " << i << ": " << cf::ToUtf8(component.GetPropName(i, 0)) << " / "
                  << cf::ToUtf8(component.GetPropName(i, 1)) << ", "
                  << (component.IsPropWritable(i) ? "writable" : "read-only") << "\n";
    }
    PrintDocument(session, "GetDescription");
    PrintDocument(session, "GetParameters");
    PrintDocument(session, "GetAdditionalActions");
    return 0;
}

}  // namespace addin_host
