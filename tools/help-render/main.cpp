// help-render: the driver's help page for help authors.
#include <iostream>

#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"
#include "tools/addin-host/CommandLine.h"
#include "tools/help-render/HelpRender.h"

namespace {

int Fail(const std::u16string& message, bool showUsage) {
    std::cerr << "help-render: " << cf::ToUtf8(message) << "\n";
    if (showUsage) std::cerr << help_render::kUsage;
    return showUsage ? 2 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    help_render::Options options;
    try {
        options = help_render::ParseOptions(addin_host::Utf8Arguments(argc, argv));
    } catch (...) {
        return Fail(cf::CurrentExceptionMessage(), true);
    }
    if (options.Help) {
        std::cout << help_render::kUsage;
        return 0;
    }
    try {
        std::cout << cf::ToUtf8(help_render::RenderHelp(options)) << "\n";
        return 0;
    } catch (...) {
        return Fail(cf::CurrentExceptionMessage(), false);
    }
}
