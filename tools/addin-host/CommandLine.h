// The program's arguments as UTF-8, whatever code page the system gives them in.
#pragma once

#include <string>
#include <vector>

namespace addin_host {

std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace addin_host
