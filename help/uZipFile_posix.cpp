#include "help/uZipFile.h"
#include "lib/cf/TextUtils.h"

namespace help {

unzFile OpenZipFile(const std::u16string& path) {
    zlib_filefunc64_def io;
    fill_fopen64_filefunc(&io);
    const std::string name = cf::ToUtf8(path);
    return unzOpen2_64(name.c_str(), &io);
}

}  // namespace help
