#include <windows.h>
#include <shellapi.h>

#include "lib/cf/TextUtils.h"
#include "tools/addin-host/CommandLine.h"

namespace addin_host {

// The narrow argv is in the ANSI code page and loses Cyrillic; the wide command line does not.
std::vector<std::string> Utf8Arguments(int, char**) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; words != nullptr && i < count; ++i)
        arguments.push_back(cf::ToUtf8(reinterpret_cast<const char16_t*>(words[i])));
    LocalFree(words);
    return arguments;
}

}  // namespace addin_host
