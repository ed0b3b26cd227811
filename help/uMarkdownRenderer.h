// The help viewer's renderer: unpacks a help package (a ZIP data resource
// holding a Markdown document and optionally a style sheet) into a private
// working folder, turns the document into the page "md.html" and has it shown.
// The folder lives as long as the renderer.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "help/uMarkdown.h"

namespace help {

// The largest Markdown document shown (several times the shipped guide): its
// conversion, and the page the browser lays out, stay quick whatever a
// package inflates to.
inline constexpr std::size_t kMaxDocumentBytes = 256 * 1024;

// The package as unpacked into the working folder, and the page made from it.
inline constexpr char16_t kPackageFile[] = u"md.zip";
inline constexpr char16_t kPageFile[] = u"md.html";

// What the renderer needs from its surroundings; the library's own resources
// and window in the driver, stand-ins in tests and tools.
struct THelpServices {
    // The bytes of the data resource of that name; nothing when there is none.
    std::function<std::optional<std::string>(std::u16string_view)> FindResource;
    // Shows the page (full file name) with that caption and returns when it is closed.
    std::function<void(const std::u16string&, const std::u16string&)> ShowPage;
    // Where working folders are made, with a trailing separator; empty: the user's temporary folder.
    std::u16string TempFolder;
};

class TMarkdownRenderer {
public:
    // Checks the resource, then renders and shows it with a renderer of its own.
    static void Render(const std::u16string& ASourceName, const std::u16string& ACaption, const THelpServices& services);
    static bool SourceExist(const std::u16string& ASourceName, const THelpServices& services);

    // Creates the working folder.
    TMarkdownRenderer(const std::u16string& ASourceName, const THelpServices& services);
    // Deletes the working folder with everything in it.
    ~TMarkdownRenderer();
    TMarkdownRenderer(const TMarkdownRenderer&) = delete;
    TMarkdownRenderer& operator=(const TMarkdownRenderer&) = delete;

    // Unpacks, converts, writes the page and shows it.
    void Render(const std::u16string& ACaption);
    // Converts the unpacked document into "md.html" and answers the page's full
    // name. The driver's dialect is CommonMark with tables; help-render offers the other.
    std::u16string BuildPage(int ADialect = kMarkdownCommonMark);

    void ExtractPackage();
    // The name of the first file of the working folder with that extension, in
    // listing order; empty when there is none.
    std::u16string FindFileByExtension(std::u16string_view AExtension) const;
    // A rooted name is used as it is, a bare one inside the working folder.
    std::u16string ReadSourceText(const std::u16string& AFileName) const;
    void WriteHtmlPage(std::u16string_view AHtml, const std::u16string& ACss) const;

    const std::u16string& TempDirectory() const { return FTempDirectory; }
    std::u16string PathOf(std::u16string_view AFileName) const;

private:
    std::u16string FSourceName;
    std::u16string FTempDirectory;
    THelpServices FServices;
};

// The name of the first file of `AFolder` with that extension (letter case
// ignored), in the order the system lists the folder; empty when there is none.
std::u16string FindFileByExtension(const std::u16string& AFolder, std::u16string_view AExtension);
// The name of the package's Markdown document in `AFolder` (its first ".md"
// file); raises "Mardown file not found" when there is none.
std::u16string FindMarkdownFile(const std::u16string& AFolder);

// The page's bytes: the UTF-8 byte-order mark, then the HTML body alone or,
// with a style sheet, wrapped in a document that links it.
std::string HtmlPageBytes(std::u16string_view AHtml, std::u16string_view ACss);
// Bytes of a text file: a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark
// selects the encoding and is dropped; without one the bytes are UTF-8.
std::u16string DecodeText(std::string_view bytes);

}  // namespace help
