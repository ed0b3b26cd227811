#include "help/uMarkdown.h"

#include <md4c-html.h>

#include <limits>

#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace help {

namespace {

// The classic dialect is ours in name only: nothing here asks for it, so it is
// the converter's CommonMark without extensions rather than a second parser.
unsigned ParserFlags(int dialect) {
    switch (dialect) {
        case kMarkdownClassic: return 0;
        case kMarkdownCommonMark: return MD_FLAG_TABLES;
        default: throw cf::Exception(u"Unknown Markdown dialect");
    }
}

struct HtmlSink {
    std::string html;
    bool failed = false;
};

// Called from C code: nothing may be thrown through it.
void AppendOutput(const MD_CHAR* text, MD_SIZE size, void* userdata) {
    auto* sink = static_cast<HtmlSink*>(userdata);
    if (sink->failed) return;
    try {
        sink->html.append(text, size);
    } catch (...) {
        sink->failed = true;
    }
}

}  // namespace

std::u16string MarkdownToHtml(std::u16string_view text, int dialect) {
    const unsigned flags = ParserFlags(dialect);
    const std::string source = cf::ToUtf8(text);
    if (source.size() > std::numeric_limits<MD_SIZE>::max())
        throw cf::Exception(u"Документ Markdown слишком велик");
    HtmlSink sink;
    const int result = md_html(source.data(), static_cast<MD_SIZE>(source.size()), AppendOutput, &sink, flags, 0);
    if (result != 0 || sink.failed) throw cf::Exception(u"Не удалось преобразовать документ Markdown в HTML");
    return cf::FromUtf8(sink.html);
}

}  // namespace help
