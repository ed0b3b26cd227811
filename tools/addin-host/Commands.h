// The commands of addin-host; each answers the process exit code.
#pragma once

#include <string>
#include <vector>

namespace addin_host {

struct Options {
    std::string library;             // --lib
    std::vector<std::string> words;  // the command and its arguments
    bool timing = false;             // --timing
};

int Describe(const Options& options);
int CallMethod(const Options& options);
int RunScript(const Options& options);
int Upload(const Options& options);

}  // namespace addin_host
