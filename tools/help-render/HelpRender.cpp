#include "tools/help-render/HelpRender.h"

#include <filesystem>
#include <functional>

#include "common/uPaths.h"
#include "help/uHelpFiles.h"
#include "help/uMarkdownRenderer.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace help_render {

const char kUsage[] =
    "usage: help-render FILE.md|PACKAGE.zip --out DIR [--dialect N]\n"
    "Writes DIR/md.html exactly as the driver's help window shows it, with the\n"
    "style sheet and every other file beside it; open it in a browser.\n"
    "  FILE.md       a document; the other files of its folder (style sheet,\n"
    "                pictures) go with it, as the build packs docs/help/; rendered\n"
    "                pages (DIR, folders holding an md.html) stay out\n"
    "  PACKAGE.zip   a help package as the library carries it\n"
    "  --dialect N   1 CommonMark with tables (the driver's), 0 without extensions\n";

namespace {

const char16_t kSourceName[] = u"help";

bool EndsWithNoCase(std::u16string_view text, std::u16string_view tail) {
    return text.size() >= tail.size() && cf::SameText(text.substr(text.size() - tail.size()), tail);
}

std::u16string FolderOf(const std::u16string& path) {
    const std::u16string name = common::ExtractFileName(path);
    if (name.size() == path.size()) return u".";
    return path.substr(0, path.size() - name.size() - 1);
}

std::u16string Join(const std::u16string& folder, const std::u16string& name) {
    return folder + common::PathDelim() + name;
}

using EntryFilter = std::function<bool(const std::u16string& path, const help::TFolderEntry&)>;

bool SkipNothing(const std::u16string&, const help::TFolderEntry&) { return false; }

// Copies a folder's entries, folders with their content, but those `skip`
// names here and those `skipBelow` names in the folders under it.
void CopyFolder(const std::u16string& from, const std::u16string& to, const EntryFilter& skip,
                const EntryFilter& skipBelow = SkipNothing) {
    for (const help::TFolderEntry& entry : help::ListFolder(from)) {
        const std::u16string path = Join(from, entry.Name);
        if (skip(path, entry)) continue;
        if (entry.IsFolder) {
            help::CreateSubfolder(Join(to, entry.Name));
            CopyFolder(path, Join(to, entry.Name), skipBelow, skipBelow);
        } else {
            help::WriteFileBytes(Join(to, entry.Name), help::ReadFileBytes(path));
        }
    }
}

// Whether `path` is the folder `folder`, however either is spelled (relative,
// with "..", through links); false when either does not exist.
bool IsSameFolder(const std::u16string& path, const std::u16string& folder) {
    std::error_code error;
    return std::filesystem::equivalent(std::filesystem::path(path), std::filesystem::path(folder), error);
}

// A folder with the page in it is a rendered page: this run's output folder
// from an earlier run, or another document's beside it.
bool IsRenderedPage(const std::u16string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(Join(path, help::kPageFile)), error);
}

// The document with the rest of its folder, as the build would pack them;
// other documents stay out so that the renderer finds this one. So do the
// output folder and every rendered page wherever they lie in the folder, or
// each run would pack the output of the runs before it.
void PlaceDocument(const std::u16string& document, const std::u16string& outputFolder,
                   help::TMarkdownRenderer& renderer) {
    const std::u16string name = common::ExtractFileName(document);
    help::WriteFileBytes(renderer.PathOf(name), help::ReadFileBytes(document));
    const EntryFilter output = [&](const std::u16string& path, const help::TFolderEntry& entry) {
        return IsSameFolder(path, outputFolder) || (entry.IsFolder && IsRenderedPage(path));
    };
    const EntryFilter topLevel = [&](const std::u16string& path, const help::TFolderEntry& entry) {
        return cf::SameText(entry.Name, name) || (!entry.IsFolder && EndsWithNoCase(entry.Name, u".md")) ||
               output(path, entry);
    };
    CopyFolder(FolderOf(document), renderer.TempDirectory(), topLevel, output);
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (word == "--help" || word == "-h") {
            options.Help = true;
        } else if (word == "--out" && hasValue) {
            options.OutputFolder = cf::FromUtf8(arguments[++i]);
        } else if (word == "--dialect" && hasValue) {
            const std::string& value = arguments[++i];
            if (value != "0" && value != "1") throw cf::Exception(u"Unknown Markdown dialect");
            options.Dialect = value[0] - '0';
        } else if (word.rfind("--", 0) != 0 && options.Input.empty()) {
            options.Input = cf::FromUtf8(word);
        } else {
            throw cf::Exception(u"Неверный аргумент: " + cf::FromUtf8(word));
        }
    }
    if (!options.Help && (options.Input.empty() || options.OutputFolder.empty()))
        throw cf::Exception(u"Нужны документ или пакет и папка --out");
    return options;
}

std::u16string RenderHelp(const Options& options) {
    help::THelpServices services;
    const bool package = EndsWithNoCase(options.Input, u".zip");
    std::string packageBytes = package ? help::ReadFileBytes(options.Input) : std::string();
    services.FindResource = [&](std::u16string_view) -> std::optional<std::string> { return packageBytes; };
    help::TMarkdownRenderer renderer(kSourceName, services);
    if (package)
        renderer.ExtractPackage();
    else
        PlaceDocument(options.Input, options.OutputFolder, renderer);
    renderer.BuildPage(options.Dialect);
    common::ForceDirectories(options.OutputFolder);
    CopyFolder(renderer.TempDirectory(), options.OutputFolder,
               [](const std::u16string&, const help::TFolderEntry& entry) {
                   return !entry.IsFolder && entry.Name == help::kPackageFile;
               });
    return Join(options.OutputFolder, help::kPageFile);
}

}  // namespace help_render
