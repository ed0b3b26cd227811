// addin-host call METHOD [ARG...] and addin-host run SCRIPT.
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "tools/addin-host/Commands.h"
#include "tools/addin-host/HostArguments.h"
#include "tools/addin-host/HostSession.h"

namespace addin_host {

namespace {

// One call with typed arguments; prints everything and answers whether it succeeded.
bool CallAndPrint(HostSession& session, const std::vector<std::string>& words) {
    std::vector<tVariant> args;
    for (std::size_t i = 1; i < words.size(); ++i) args.push_back(ParseArgument(words[i], session.Memory()));
    const CallOutcome outcome = session.Call(words[0], std::move(args));
    PrintOutcome(std::cout, words[0], outcome);
    const bool failed = !outcome.delivered || outcome.result == "false";
    if (outcome.delivered && outcome.result == "false") std::cout << "  GetLastError: " << session.LastError() << "\n";
    return !failed;
}

}  // namespace

int CallMethod(const Options& options) {
    if (options.words.size() < 2) throw std::runtime_error("usage: addin-host call METHOD [ARG...]");
    HostSession session(options.library, options.timing);
    const std::vector<std::string> words(options.words.begin() + 1, options.words.end());
    return CallAndPrint(session, words) ? 0 : 1;
}

int RunScript(const Options& options) {
    if (options.words.size() != 2) throw std::runtime_error("usage: addin-host run SCRIPT");
    std::istringstream script(ReadTextFile(options.words[1]));
    HostSession session(options.library, options.timing);
    int failures = 0;
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        const std::vector<std::string> words = SplitLine(line);
        if (words.empty() || words[0][0] == '#') continue;
        std::cout << "> " << line << "\n";
        try {
            if (!CallAndPrint(session, words)) ++failures;
        } catch (const std::exception& e) {
            std::cout << "line " << number << ": " << e.what() << "\n";
            ++failures;
        }
    }
    std::cout << "script done, " << failures << " failed call(s)\n";
    return failures == 0 ? 0 : 1;
}

}  // namespace addin_host
