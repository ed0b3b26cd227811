// The file services the help viewer needs: its private working folder under
// the user's temporary folder, whole-file reads and writes, folder listings.
// Failures raise cf::Exception naming the file and the system's reason.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace help {

// The user's temporary folder with a trailing separator: GetTempPath on
// Windows, $TMPDIR or /tmp elsewhere.
std::u16string UserTempFolder();

struct TGuid {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
// A new random GUID.
TGuid NewGuid();
// "{0F8FAD5B-D9CB-469F-A165-70867728950E}".
std::u16string GuidToText(const TGuid& guid);

// Creates a new folder only its owner can use (mode 0700 outside Windows);
// fails when it exists already.
void CreatePrivateFolder(const std::u16string& path);
// Creates a folder inside an existing one; an existing folder is kept.
void CreateSubfolder(const std::u16string& path);
// Deletes the folder with everything in it; links are removed, never followed.
// Answers false when something could not be deleted.
bool RemoveFolderTree(const std::u16string& path) noexcept;

struct TFolderEntry {
    std::u16string Name;
    bool IsFolder;
};
// The folder's entries without "." and "..", in the order the system lists them.
std::vector<TFolderEntry> ListFolder(const std::u16string& path);

std::string ReadFileBytes(const std::u16string& path);
// Creates or overwrites the file.
void WriteFileBytes(const std::u16string& path, std::string_view bytes);

}  // namespace help
