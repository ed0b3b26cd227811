#include <windows.h>

// iowin32.h needs the declarations of unzip.h before it.
#include "help/uZipFile.h"

#include <minizip/iowin32.h>

namespace help {

unzFile OpenZipFile(const std::u16string& path) {
    zlib_filefunc64_def io;
    fill_win32_filefunc64W(&io);
    return unzOpen2_64(path.c_str(), &io);
}

}  // namespace help
