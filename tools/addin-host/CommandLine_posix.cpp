#include "tools/addin-host/CommandLine.h"

namespace addin_host {

// Linux passes the bytes as typed: UTF-8 in every usual locale.
std::vector<std::string> Utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

}  // namespace addin_host
