// A renderer's surroundings for tests: packages as in-memory resources, a
// private temporary root in place of the user's temporary folder, and a
// viewer that records what it was shown.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "help/uMarkdownRenderer.h"
#include "tests/unit/common/LogTestSupport.h"

namespace help_tests {

inline constexpr char kBom[] = "\xEF\xBB\xBF";

class RendererTest : public ::testing::Test {
protected:
    struct Shown {
        std::u16string Page;
        std::u16string Caption;
        std::string PageBytes;
        std::vector<std::u16string> Files;
    };

    help::THelpServices Services() {
        help::THelpServices services;
        services.FindResource = [this](std::u16string_view name) -> std::optional<std::string> {
            const auto found = resources_.find(std::u16string(name));
            if (found == resources_.end()) return std::nullopt;
            return found->second;
        };
        services.ShowPage = [this](const std::u16string& page, const std::u16string& caption) {
            const std::u16string folder = page.substr(0, page.size() - 8);  // without "/md.html"
            shown_.push_back({page, caption, log_tests::ReadFileBytes(page), log_tests::FilesIn(folder)});
        };
        services.TempFolder = root_.Path();
        return services;
    }

    void AddPackage(const std::u16string& name, const std::string& bytes) { resources_[name] = bytes; }

    // Renders the "help" resource; answers the error's message or "(no error)".
    std::u16string RenderHelp();

    // Nothing of any working folder is left under the temporary root.
    void ExpectNothingLeft() { EXPECT_TRUE(log_tests::FilesIn(root_.Path()).empty()); }

    log_tests::TempFolder root_;
    std::map<std::u16string, std::string> resources_;
    std::vector<Shown> shown_;
};

}  // namespace help_tests
