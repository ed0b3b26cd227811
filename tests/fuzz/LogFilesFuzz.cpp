// The log viewer over a folder of files named and filled by the input: the
// file list, each file shown, then grown or rewritten and followed by the
// timer.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "forms/uDiskLogFiles.h"
#include "forms/ufmLog.h"
#include "tests/fuzz/support/FuzzFolder.h"
#include "tests/fuzz/support/FuzzInput.h"

namespace {

// File names from a small alphabet: the log files' own characters and a few
// that no log file has.
std::string FileName(std::string_view piece) {
    static const char kAlphabet[] = "0123456789_.-logtxtLOG ";
    std::string name;
    for (char c : piece) name += kAlphabet[static_cast<unsigned char>(c) % (sizeof kAlphabet - 1)];
    return name.empty() || name == "." || name == ".." ? "x" : name;
}

class FolderLogFiles : public forms::TDiskLogFiles {
public:
    explicit FolderLogFiles(std::u16string folder) : folder_(std::move(folder)) {}
    std::u16string LogFolder() override { return folder_; }

private:
    std::u16string folder_;
};

class NoShell : public forms::IShell {
public:
    void Explore(const std::u16string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz_support::FuzzInput input(data, size);
    const std::filesystem::path folder = fuzz_support::FreshFolder("w_quorlan7t4p-fuzz-logs");
    const int count = input.Byte() % 5;
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < count; ++i) {
        files.push_back(folder / FileName(input.Bytes(input.Byte() % 24)));
        fuzz_support::WriteFile(files.back(), input.Piece());
    }
    std::u16string folderName = folder.u16string();
    folderName += std::filesystem::path::preferred_separator;
    FolderLogFiles logFiles(folderName);
    NoShell shell;
    forms::TfrmLog viewer(logFiles, shell);
    viewer.FormCreate();
    const int listed = static_cast<int>(viewer.Files().size());
    for (int index = -1; index <= listed; ++index) viewer.cbbLogFilesChange(index);
    if (!files.empty()) {
        viewer.cbbLogFilesChange(0);
        // A growing or a rewritten file, as the driver and a user leave them.
        const std::string_view more = input.Piece();
        if (input.Byte() % 2) {
            std::ofstream(files.front(), std::ios::binary | std::ios::app).write(more.data(), static_cast<std::streamsize>(more.size()));
        } else {
            fuzz_support::WriteFile(files.front(), more);
        }
        viewer.tmrCheckFileTimer();
    }
    viewer.cbbLogFilesDropDown();
    return 0;
}
