// addin-host: a command-line stand-in for the platform. It loads the driver
// library and drives it through its exports and interface tables only.
#include <iostream>
#include <stdexcept>

#include "tools/addin-host/CommandLine.h"
#include "tools/addin-host/Commands.h"
#include "tools/addin-host/HostSession.h"

namespace {

const char kUsage[] =
    "usage: addin-host [--lib LIBRARY] [--timing] COMMAND ...\n"
    "  describe                    class names, methods, properties and the three documents\n"
    "  call METHOD [ARG...]        one call; ARG is s:text, i:42, b:true, d:1.5, @file.xml or text\n"
    "  run SCRIPT                  one call per line (same arguments; # starts a comment)\n"
    "  upload --ip A --port P [--firmware N] [--goods F] [--tare F] [--texts F]\n"
    "         [--company TEXT] [--log] [--batch N]\n"
    "                              set parameters, open, upload, close; prints progress and a summary\n"
    "--lib defaults to the driver library beside this program.\n"
    "--timing prints how long loading took and when the first call was answered.\n";

}  // namespace

int main(int argc, char** argv) {
    addin_host::Options options;
    options.library = addin_host::DefaultLibraryPath();
    const std::vector<std::string> arguments = addin_host::Utf8Arguments(argc, argv);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--lib" && i + 1 < arguments.size()) {
            options.library = arguments[++i];
        } else if (arguments[i] == "--timing") {
            options.timing = true;
        } else if (arguments[i] == "--help" || arguments[i] == "-h") {
            std::cout << kUsage;
            return 0;
        } else {
            options.words.push_back(arguments[i]);
        }
    }
    if (options.words.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        const std::string& command = options.words[0];
        if (command == "describe") return addin_host::Describe(options);
        if (command == "call") return addin_host::CallMethod(options);
        if (command == "run") return addin_host::RunScript(options);
        if (command == "upload") return addin_host::Upload(options);
        std::cerr << "unknown command " << command << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "addin-host: " << e.what() << "\n";
        return 2;
    }
}
