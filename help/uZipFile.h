// Opens a ZIP archive by its UTF-16 file name with the system's own file calls.
#pragma once

#include <minizip/unzip.h>

#include <string>

namespace help {

// Null when the file cannot be opened or holds no readable archive.
unzFile OpenZipFile(const std::u16string& path);

}  // namespace help
