#include "forms/uGtkWebKit_gtk.h"

#include <dlfcn.h>

#include <cstdlib>

namespace forms::gtk {

namespace {

// Tests name a library that is not there, to see the window without WebKit.
constexpr char kWebKitLibraryVariable[] = "W_QUORLAN7T4P_WEBKIT_LIBRARY";

void* OpenWebKit() {
    if (const char* name = std::getenv(kWebKitLibraryVariable); name && *name) return dlopen(name, RTLD_LAZY | RTLD_LOCAL);
    for (const char* name : {"libwebkit2gtk-4.1.so.0", "libwebkit2gtk-4.0.so.37"})
        if (void* handle = dlopen(name, RTLD_LAZY | RTLD_LOCAL)) return handle;
    return nullptr;
}

template <typename F>
bool Bind(void* AHandle, F& AFunction, const char* AName) {
    AFunction = reinterpret_cast<F>(dlsym(AHandle, AName));
    return AFunction != nullptr;
}

}  // namespace

std::optional<TWebKitApi> WebKit() {
    void* handle = OpenWebKit();
    if (!handle) return std::nullopt;
    TWebKitApi api;
    if (!Bind(handle, api.webkit_web_view_new, "webkit_web_view_new") ||
        !Bind(handle, api.webkit_web_view_load_uri, "webkit_web_view_load_uri"))
        return std::nullopt;
    return api;
}

}  // namespace forms::gtk
