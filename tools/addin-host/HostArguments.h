// Typed method arguments from the command line: s:text, i:42, b:true,
// d:1.5, @file.xml (a document read from a file), or a bare text.
#pragma once

#include <string>
#include <vector>

#include "lib/cf/HostAbi.h"
#include "tools/host-emulation/HostMemoryManager.h"

namespace addin_host {

// Raises std::runtime_error for a malformed argument or an unreadable file.
tVariant ParseArgument(const std::string& text, host_emulation::HostMemoryManager& memory);

// The value as a line of text for the console (UTF-8).
std::string DescribeValue(const tVariant& value);

// Splits a script line into words; double quotes group words, "" inside quotes is one quote.
std::vector<std::string> SplitLine(const std::string& line);

std::string ReadTextFile(const std::string& path);

}  // namespace addin_host
