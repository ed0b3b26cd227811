// A help package's bytes through the renderer: unpacked within the package
// limits into its working folder, its document found and turned into the
// page. A refusal must come as the library's own exception.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "help/uMarkdownRenderer.h"
#include "lib/cf/Exception.h"
#include "tests/fuzz/support/FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string package(reinterpret_cast<const char*>(data), size);
    help::THelpServices services;
    services.FindResource = [&package](std::u16string_view) { return std::optional<std::string>(package); };
    services.ShowPage = [](const std::u16string&, const std::u16string&) {};
    std::u16string folder = fuzz_support::FreshFolder("w_quorlan7t4p-fuzz-help").u16string();
    folder += std::filesystem::path::preferred_separator;
    services.TempFolder = folder;
    try {
        help::TMarkdownRenderer renderer(u"help", services);
        renderer.ExtractPackage();
        renderer.BuildPage();
    } catch (const cf::Exception&) {
    }
    return 0;
}
