#include <windows.h>

#include <stdexcept>
#include <vector>

#include "tools/host-emulation/LibraryLoader.h"

namespace host_emulation {

namespace {

std::wstring Widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length > 0 ? length : 1));
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, buffer.data(), length);
    return std::wstring(buffer.data());
}

}  // namespace

LoadedLibrary::LoadedLibrary(const std::string& path) {
    handle_ = LoadLibraryW(Widen(path).c_str());
    if (handle_ == nullptr) throw std::runtime_error("cannot load " + path + ": error " + std::to_string(GetLastError()));
}

LoadedLibrary::~LoadedLibrary() {
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* LoadedLibrary::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string ExecutableFolder() {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, length);
    return path.substr(0, path.find_last_of("\\/") + 1);
}

}  // namespace host_emulation
