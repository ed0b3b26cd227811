#include "device/uSystemCodePages.h"

#include <windows.h>

namespace device {

std::string TextToOem(std::u16string_view text) {
    if (text.empty()) return {};
    const std::wstring wide(text.begin(), text.end());
    std::string out(wide.size(), '\0');
    CharToOemBuffW(wide.c_str(), out.data(), static_cast<DWORD>(wide.size()));
    return out;
}

std::string TextToAnsi(std::u16string_view text) {
    if (text.empty()) return {};
    const std::wstring wide(text.begin(), text.end());
    const int units = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), units, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), units, out.data(), size, nullptr, nullptr);
    return out;
}

std::u16string AnsiToText(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), units);
    return std::u16string(wide.begin(), wide.end());
}

}  // namespace device
