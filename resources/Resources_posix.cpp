#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"
#include "resources/EmbeddedTable.h"
#include "resources/Resources.h"

namespace resources {

std::u16string LoadStringResource(uint32_t id) {
    for (const EmbeddedString* s = kEmbeddedStrings; s->text != nullptr; ++s)
        if (s->id == id) return cf::FromUtf8(reinterpret_cast<const char*>(s->text));
    throw cf::Exception(u"Строковый ресурс " + cf::UIntToStr(id) + u" не найден");
}

std::optional<std::string> FindDataResource(std::u16string_view name) {
    for (const EmbeddedData* d = kEmbeddedData; d->name != nullptr; ++d)
        if (cf::SameText(d->name, name)) return std::string(reinterpret_cast<const char*>(d->bytes), d->size);
    return std::nullopt;
}

}  // namespace resources
