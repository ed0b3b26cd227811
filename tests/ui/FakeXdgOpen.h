// A stand-in for xdg-open first on PATH while it lives: it notes its
// arguments, one a line, instead of starting a file manager or a browser.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ui_tests {

class TFakeXdgOpen {
public:
    explicit TFakeXdgOpen(const std::filesystem::path& AFolder);
    ~TFakeXdgOpen();
    TFakeXdgOpen(const TFakeXdgOpen&) = delete;
    TFakeXdgOpen& operator=(const TFakeXdgOpen&) = delete;

    // Waits (bounded) for a start; its arguments, or nothing.
    std::vector<std::string> Arguments() const;

private:
    std::filesystem::path FFolder;
    std::string FOldPath;
};

}  // namespace ui_tests
