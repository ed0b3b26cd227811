#include "tests/ui/FakeXdgOpen.h"

#include <cstdlib>
#include <fstream>

#include "tests/ui/GtkProbe.h"

namespace ui_tests {

TFakeXdgOpen::TFakeXdgOpen(const std::filesystem::path& AFolder) : FFolder(AFolder) {
    std::filesystem::create_directories(FFolder);
    std::filesystem::remove(FFolder / "args");
    const std::filesystem::path script = FFolder / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" << (FFolder / "args.tmp").string() << "\"\nmv \""
                          << (FFolder / "args.tmp").string() << "\" \"" << (FFolder / "args").string() << "\"\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    FOldPath = std::getenv("PATH");
    setenv("PATH", (FFolder.string() + ":" + FOldPath).c_str(), 1);
}

TFakeXdgOpen::~TFakeXdgOpen() { setenv("PATH", FOldPath.c_str(), 1); }

std::vector<std::string> TFakeXdgOpen::Arguments() const {
    std::vector<std::string> arguments;
    if (!WaitFor([&] { return std::filesystem::exists(FFolder / "args"); })) return arguments;
    std::ifstream file(FFolder / "args");
    for (std::string line; std::getline(file, line);) arguments.push_back(line);
    return arguments;
}

}  // namespace ui_tests
