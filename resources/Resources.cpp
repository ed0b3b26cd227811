#include "lib/cf/Exception.h"
#include "resources/Resources.h"

namespace resources {

std::string LoadDataResource(std::u16string_view name) {
    std::optional<std::string> bytes = FindDataResource(name);
    if (!bytes) throw cf::Exception(u"Ресурс \"" + std::u16string(name) + u"\" не найден");
    return std::move(*bytes);
}

}  // namespace resources
