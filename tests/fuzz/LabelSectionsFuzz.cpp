// A label template file's contents through the section readers: the names
// of its sections, then each named section and one named by the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/uSectionFile.h"
#include "lib/cf/TextUtils.h"
#include "tests/fuzz/support/FuzzFolder.h"
#include "tests/fuzz/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz_support::FuzzInput input(data, size);
    const std::u16string wanted = cf::FromUtf8(input.Piece());
    const std::filesystem::path file = fuzz_support::FreshFolder("w_quorlan7t4p-fuzz-sections") / "Labels.mtt";
    fuzz_support::WriteFile(file, input.Rest());

    const std::u16string fileName = file.u16string();
    std::vector<std::u16string> names;
    device::ReadFileSectionNames(fileName, names);
    for (const std::u16string& name : names) device::ReadFileSection(fileName, name, u"");
    device::ReadFileSection(fileName, wanted, u"default");
    return 0;
}
