// A help document's text through the decoding of its bytes and the Markdown
// conversion in both dialects, into the page's bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "help/uMarkdown.h"
#include "help/uMarkdownRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::u16string text = help::DecodeText(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::u16string html = help::MarkdownToHtml(text, size % 2 ? help::kMarkdownCommonMark : help::kMarkdownClassic);
    help::HtmlPageBytes(html, size % 3 ? u"" : u"style.css");
    return 0;
}
