// help-render: writes the page the driver's help window shows, with the
// driver's own renderer, into a folder of the author's choice.
#pragma once

#include <string>
#include <vector>

namespace help_render {

struct Options {
    std::u16string Input;  // a Markdown document or a help package (.zip)
    std::u16string OutputFolder;
    int Dialect = 1;
    bool Help = false;
};

extern const char kUsage[];

// Raises cf::Exception for arguments that do not make a command.
Options ParseOptions(const std::vector<std::string>& arguments);

// Renders and copies the working folder (without the package itself) into
// the output folder; answers the full name of the page written there.
std::u16string RenderHelp(const Options& options);

}  // namespace help_render
