#include "help/uMarkdownRenderer.h"

#include "common/uPaths.h"
#include "help/uHelpFiles.h"
#include "help/uHelpPackage.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace help {

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

[[noreturn]] void RaiseSourceMissing(const std::u16string& name) {
    throw cf::Exception(u"File not found: " + name);
}

std::optional<std::string> FindSource(const std::u16string& name, const THelpServices& services) {
    if (name.empty() || !services.FindResource) return std::nullopt;
    return services.FindResource(name);
}

bool HasExtension(std::u16string_view name, std::u16string_view extension) {
    if (name.size() <= extension.size() + 1) return false;
    const std::size_t dot = name.size() - extension.size() - 1;
    return name[dot] == u'.' && cf::SameText(name.substr(dot + 1), extension);
}

// A file name taken from the package must not end the attribute it sits in.
std::string AttributeText(std::u16string_view text) {
    std::string out;
    for (char c : cf::ToUtf8(text)) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    if (bytes.size() % 2 != 0) text += u'\uFFFD';  // a lone last byte is no character
    return text;
}

}  // namespace

std::u16string DecodeText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return cf::FromUtf8(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
    return cf::FromUtf8(bytes);
}

std::u16string FindFileByExtension(const std::u16string& AFolder, std::u16string_view AExtension) {
    for (const TFolderEntry& entry : ListFolder(AFolder))
        if (!entry.IsFolder && HasExtension(entry.Name, AExtension)) return entry.Name;
    return {};
}

std::u16string FindMarkdownFile(const std::u16string& AFolder) {
    const std::u16string document = FindFileByExtension(AFolder, u"md");
    if (document.empty()) throw cf::Exception(u"Mardown file not found");
    return document;
}

std::string HtmlPageBytes(std::u16string_view AHtml, std::u16string_view ACss) {
    std::string page = kUtf8Bom;
    if (ACss.empty()) return page + cf::ToUtf8(AHtml);
    page += "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<link href=\"" + AttributeText(ACss) + "\" rel=\"stylesheet\">\r\n";
    page += "</head>\r\n<body>\r\n" + cf::ToUtf8(AHtml) + "\r\n</body>\r\n</html>";
    return page;
}

void TMarkdownRenderer::Render(const std::u16string& ASourceName, const std::u16string& ACaption,
                               const THelpServices& services) {
    if (!SourceExist(ASourceName, services)) RaiseSourceMissing(ASourceName);
    TMarkdownRenderer renderer(ASourceName, services);
    renderer.Render(ACaption);
}

bool TMarkdownRenderer::SourceExist(const std::u16string& ASourceName, const THelpServices& services) {
    return FindSource(ASourceName, services).has_value();
}

TMarkdownRenderer::TMarkdownRenderer(const std::u16string& ASourceName, const THelpServices& services)
    : FSourceName(ASourceName), FServices(services) {
    const std::u16string root = FServices.TempFolder.empty() ? UserTempFolder() : FServices.TempFolder;
    FTempDirectory = root + GuidToText(NewGuid());
    CreatePrivateFolder(FTempDirectory);
}

TMarkdownRenderer::~TMarkdownRenderer() { RemoveFolderTree(FTempDirectory); }

// A missing resource fails in ExtractPackage with "File not found: ".
void TMarkdownRenderer::Render(const std::u16string& ACaption) {
    ExtractPackage();
    const std::u16string page = BuildPage();
    if (FServices.ShowPage) FServices.ShowPage(page, ACaption);
}

std::u16string TMarkdownRenderer::BuildPage(int ADialect) {
    const std::u16string text = ReadSourceText(FindMarkdownFile(FTempDirectory));
    const std::u16string css = FindFileByExtension(u"css");
    WriteHtmlPage(MarkdownToHtml(text, ADialect), css);
    return PathOf(kPageFile);
}

void TMarkdownRenderer::ExtractPackage() {
    const std::optional<std::string> package = FindSource(FSourceName, FServices);
    if (!package) RaiseSourceMissing(FSourceName);
    const std::u16string archive = PathOf(kPackageFile);
    WriteFileBytes(archive, *package);
    help::ExtractPackage(archive, FTempDirectory);
}

std::u16string TMarkdownRenderer::FindFileByExtension(std::u16string_view AExtension) const {
    return help::FindFileByExtension(FTempDirectory, AExtension);
}

std::u16string TMarkdownRenderer::ReadSourceText(const std::u16string& AFileName) const {
    const std::u16string path = common::IsRootedPath(AFileName) ? AFileName : PathOf(AFileName);
    const std::string bytes = ReadFileBytes(path);
    if (bytes.size() > kMaxDocumentBytes)
        throw cf::Exception(u"Документ справки слишком велик: больше " + cf::UIntToStr(kMaxDocumentBytes) + u" байт");
    return DecodeText(bytes);
}

void TMarkdownRenderer::WriteHtmlPage(std::u16string_view AHtml, const std::u16string& ACss) const {
    WriteFileBytes(PathOf(kPageFile), HtmlPageBytes(AHtml, ACss));
}

std::u16string TMarkdownRenderer::PathOf(std::u16string_view AFileName) const {
    return FTempDirectory + common::PathDelim() + std::u16string(AFileName);
}

}  // namespace help
