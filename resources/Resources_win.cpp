#include <windows.h>

#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"
#include "resources/Resources.h"

namespace resources {

namespace {

// The library's own module, not the host process's.
HMODULE OwnModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&OwnModule), &module);
    return module;
}

}  // namespace

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
    const std::wstring wideName(name.begin(), name.end());
    HRSRC info = FindResourceW(module, wideName.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return std::nullopt;
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, info));
}

}  // namespace resources
