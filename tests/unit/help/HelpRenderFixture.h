// A document folder for help-render: the document, a second document, a
// style sheet and a picture in a subfolder; and what one run makes from it
// in a folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/unit/common/LogTestSupport.h"
#include "tools/help-render/HelpRender.h"

namespace help_tests {

namespace fs = std::filesystem;

inline void WriteFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// Every file and folder under `folder`, as sorted relative names with "/".
inline std::vector<std::string> Tree(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

// The process's current folder for one test.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path& folder) : saved_(fs::current_path()) { fs::current_path(folder); }
    ~CurrentFolder() { fs::current_path(saved_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    fs::path saved_;
};

class HelpRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::path(temp_.Path());
        docs_ = root_ / "docs";
        fs::create_directories(docs_ / "pictures");
        WriteFile(docs_ / "guide.md", "# Guide\n\n![logo](pictures/logo.png)\n");
        WriteFile(docs_ / "style.css", "body { color: black; }\n");
        WriteFile(docs_ / "pictures" / "logo.png", "PNG");
        source_ = Tree(docs_);
        Render(docs_ / "guide.md", (root_ / "alone").u16string());
        once_ = Tree(root_ / "alone");
    }

    static void Render(const fs::path& document, const std::u16string& out) {
        help_render::Options options;
        options.Input = document.u16string();
        options.OutputFolder = out;
        help_render::RenderHelp(options);
    }

    log_tests::TempFolder temp_;
    fs::path root_, docs_;
    std::vector<std::string> source_;  // the document folder as the test made it
    std::vector<std::string> once_;    // one run's output
};

}  // namespace help_tests
