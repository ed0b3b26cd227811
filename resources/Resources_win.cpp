#include "common/uWinApi_win.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"
#include "resources/Resources.h"

namespace resources {

using common::OwnModule;

std::u16string LoadStringResource(uint32_t id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size the answer points at the resource itself.
    const int length = LoadStringW(OwnModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        throw cf::Exception(u"Строковый ресурс " + cf::UIntToStr(id) + u" не найден");
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
}

std::optional<std::string> FindDataResource(std::u16string_view name) {
    const HMODULE module = OwnModule();
    const std::u16string resourceName(name);
    HRSRC info = FindResourceW(module, common::Wide(resourceName), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return std::nullopt;
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, info));
}

}  // namespace resources
