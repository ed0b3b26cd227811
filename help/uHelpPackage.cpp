#include "help/uHelpPackage.h"

#include <vector>

#include "common/uPaths.h"
#include "help/uHelpFiles.h"
#include "help/uZipFile.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace help {

namespace {

constexpr unsigned long kEncryptedFlag = 1;

[[noreturn]] void RaiseUnsafeName(std::u16string_view name) {
    throw cf::Exception(u"Пакет справки содержит недопустимое имя файла: \"" + std::u16string(name) + u"\"");
}

[[noreturn]] void RaiseDamaged(std::u16string_view detail) {
    throw cf::Exception(u"Пакет справки повреждён: " + std::u16string(detail));
}

bool IsNameSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// Names Windows takes for devices in any folder ("con", "lpt1.txt").
bool IsDeviceName(std::u16string_view component) {
    const std::u16string stem(component.substr(0, component.find(u'.')));
    for (const char16_t* device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"})
        if (cf::AsciiSameText(stem, device)) return true;
    return stem.size() == 4 && (cf::AsciiSameText(stem.substr(0, 3), u"COM") || cf::AsciiSameText(stem.substr(0, 3), u"LPT")) &&
           stem[3] >= u'0' && stem[3] <= u'9';
}

// Windows drops a trailing dot or space, which would turn ".. " into "..".
bool IsUnsafeComponent(std::u16string_view component) {
    if (component.back() == u'.' || component.back() == u' ') return true;
    for (char16_t c : component)
        if (c < u' ' || c == u':') return true;
    return IsDeviceName(component);
}

std::vector<std::u16string_view> SplitName(std::u16string_view name) {
    std::vector<std::u16string_view> components;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !IsNameSeparator(name[i])) continue;
        if (i > start) components.push_back(name.substr(start, i - start));
        start = i + 1;
    }
    return components;
}

// Entry names are UTF-8 when the archive says so; older tools wrote the
// system's code page, which cannot be known here, so they are read as UTF-8 too.
std::u16string EntryName(unzFile zip, const unz_file_info64& info) {
    std::string name(info.size_filename, '\0');
    unz_file_info64 again;
    if (unzGetCurrentFileInfo64(zip, &again, name.data(), static_cast<uLong>(name.size() + 1), nullptr, 0, nullptr, 0) != UNZ_OK)
        RaiseDamaged(u"не удаётся прочитать каталог архива");
    return cf::FromUtf8(name);
}

class ZipReader {
public:
    explicit ZipReader(const std::u16string& archive) : zip_(OpenZipFile(archive)) {
        if (zip_ == nullptr) RaiseDamaged(u"файл не является архивом ZIP или не читается");
    }
    ~ZipReader() { unzClose(zip_); }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    unzFile Get() const { return zip_; }

private:
    unzFile zip_;
};

class PackageExtractor {
public:
    PackageExtractor(const std::u16string& archive, const std::u16string& folder, const TPackageLimits& limits)
        : reader_(archive), folder_(folder), reservedName_(common::ExtractFileName(archive)), limits_(limits) {}

    void Run() {
        CheckEntryCount();
        int status = unzGoToFirstFile(reader_.Get());
        while (status == UNZ_OK) {
            ExtractCurrent();
            status = unzGoToNextFile(reader_.Get());
        }
        if (status != UNZ_END_OF_LIST_OF_FILE) RaiseDamaged(u"не удаётся прочитать каталог архива");
    }

private:
    void CheckEntryCount() {
        unz_global_info64 info;
        if (unzGetGlobalInfo64(reader_.Get(), &info) != UNZ_OK) RaiseDamaged(u"не удаётся прочитать каталог архива");
        if (info.number_entry > limits_.MaxEntries)
            throw cf::Exception(u"Пакет справки содержит слишком много файлов: " + cf::UIntToStr(info.number_entry) +
                                u" (допускается не больше " + cf::UIntToStr(limits_.MaxEntries) + u")");
    }

    void ExtractCurrent() {
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(reader_.Get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            RaiseDamaged(u"не удаётся прочитать каталог архива");
        const std::u16string name = EntryName(reader_.Get(), info);
        const std::u16string path = SafeEntryPath(name, reservedName_);
        if (info.flag & kEncryptedFlag)
            throw cf::Exception(u"Пакет справки содержит зашифрованный файл: \"" + name + u"\"");
        CreateFolders(path);
        if (common::IsPathDelimiter(path.back())) return;
        if (info.uncompressed_size > Remaining()) RaiseTooLarge();
        WriteFileBytes(folder_ + common::PathDelim() + path, ReadCurrent(name));
    }

    // Every folder on the entry's path, the entry itself when it is a folder.
    void CreateFolders(const std::u16string& path) {
        for (std::size_t i = 0; i < path.size(); ++i)
            if (common::IsPathDelimiter(path[i])) CreateSubfolder(folder_ + common::PathDelim() + path.substr(0, i));
    }

    std::string ReadCurrent(const std::u16string& name) {
        if (unzOpenCurrentFile(reader_.Get()) != UNZ_OK) RaiseDamaged(u"не удаётся распаковать \"" + name + u"\"");
        std::string bytes;
        char buffer[65536];
        int got = 0;
        while ((got = unzReadCurrentFile(reader_.Get(), buffer, sizeof(buffer))) > 0) {
            if (static_cast<uint64_t>(got) > Remaining()) {
                unzCloseCurrentFile(reader_.Get());
                RaiseTooLarge();
            }
            unpacked_ += static_cast<uint64_t>(got);
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        // Closing checks the entry's CRC once all of it has been read.
        const int closed = unzCloseCurrentFile(reader_.Get());
        if (got < 0 || closed != UNZ_OK) RaiseDamaged(u"не удаётся распаковать \"" + name + u"\"");
        return bytes;
    }

    uint64_t Remaining() const { return limits_.MaxTotalBytes - unpacked_; }

    [[noreturn]] void RaiseTooLarge() const {
        throw cf::Exception(u"Пакет справки слишком велик: больше " + cf::UIntToStr(limits_.MaxTotalBytes) +
                            u" байт после распаковки");
    }

    ZipReader reader_;
    std::u16string folder_;
    std::u16string reservedName_;
    TPackageLimits limits_;
    uint64_t unpacked_ = 0;
};

}  // namespace

std::u16string SafeEntryPath(std::u16string_view entryName, std::u16string_view reservedName) {
    if (entryName.empty() || IsNameSeparator(entryName.front())) RaiseUnsafeName(entryName);
    std::u16string path;
    for (std::u16string_view component : SplitName(entryName)) {
        if (component == u".") continue;
        if (IsUnsafeComponent(component)) RaiseUnsafeName(entryName);
        if (!path.empty()) path += common::PathDelim();
        path += component;
    }
    if (path.empty() || cf::SameText(path, reservedName)) RaiseUnsafeName(entryName);
    if (IsNameSeparator(entryName.back())) path += common::PathDelim();
    return path;
}

void ExtractPackage(const std::u16string& archive, const std::u16string& folder, const TPackageLimits& limits) {
    PackageExtractor(archive, folder, limits).Run();
}

}  // namespace help
