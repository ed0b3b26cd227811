#include "forms/uGtkApi_gtk.h"

#include <dlfcn.h>

#include <cstdlib>
#include <mutex>

#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace forms::gtk {

namespace {

constexpr char kGtkLibrary[] = "libgtk-3.so.0";
// Tests name a library that is not there, to see the library work without GTK.
constexpr char kGtkLibraryVariable[] = "W_QUORLAN7T4P_GTK_LIBRARY";

[[noreturn]] void NoDisplay(const std::u16string& AReason) { throw cf::Exception(kNoDisplayPrefix + AReason); }

const char* GtkLibraryName() {
    const char* name = std::getenv(kGtkLibraryVariable);
    return name && *name ? name : kGtkLibrary;
}

bool HasDisplayVariable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

// The symbols resolve through the library's handle, which also reaches GLib,
// GObject and GDK among its dependencies.
void Resolve(void* AHandle, TGtkApi& AApi) {
#define WQ_GTK_RESOLVE(name)                                                                                   \
    AApi.name = reinterpret_cast<decltype(AApi.name)>(dlsym(AHandle, #name));                                  \
    if (!AApi.name) NoDisplay(u"в загруженной библиотеке GTK нет функции " + cf::FromUtf8(#name));
    WQ_GTK_FUNCTIONS(WQ_GTK_RESOLVE)
#undef WQ_GTK_RESOLVE
}

// GTK is loaded once and stays: a process cannot unload an initialised GTK.
struct TLoadedGtk {
    std::mutex Lock;
    TGtkApi Api;
    bool Ready = false;
};

TLoadedGtk& Loaded() {
    static TLoadedGtk* loaded = new TLoadedGtk;
    return *loaded;
}

// The application's GTK when it runs one, already initialised.
void* RunningGtk(TGtkApi& AApi) {
    void* handle = dlopen(GtkLibraryName(), RTLD_LAZY | RTLD_NOLOAD);
    if (!handle) return nullptr;
    Resolve(handle, AApi);
    return AApi.gdk_display_get_default() ? handle : nullptr;
}

// GTK aborts the whole process when two of its major versions meet in it.
bool OtherGtkLoaded() {
    for (const char* name : {"libgtk-x11-2.0.so.0", "libgtk-4.so.1"})
        if (dlopen(name, RTLD_LAZY | RTLD_NOLOAD)) return true;
    return false;
}

void StartOwnGtk(TGtkApi& AApi) {
    if (!HasDisplayVariable()) NoDisplay(u"не задан дисплей (переменные DISPLAY и WAYLAND_DISPLAY пусты)");
    if (OtherGtkLoaded()) NoDisplay(u"в процессе уже работает GTK другой версии");
    void* handle = dlopen(GtkLibraryName(), RTLD_LAZY | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        NoDisplay(u"не удалось загрузить " + cf::FromUtf8(GtkLibraryName()) + u" (" +
                  cf::FromUtf8(reason ? reason : "") + u")");
    }
    Resolve(handle, AApi);
    // The host's own number and text formats stay as they are.
    AApi.gtk_disable_setlocale();
    if (!AApi.gtk_init_check(nullptr, nullptr)) {
        const char* display = std::getenv("DISPLAY");
        NoDisplay(u"GTK не смог открыть дисплей «" + cf::FromUtf8(display ? display : "") + u"»");
    }
}

}  // namespace

const TGtkApi& Gtk() {
    TLoadedGtk& loaded = Loaded();
    std::lock_guard<std::mutex> guard(loaded.Lock);
    if (loaded.Ready && loaded.Api.gdk_display_get_default()) return loaded.Api;
    TGtkApi api;
    if (!RunningGtk(api)) StartOwnGtk(api);
    loaded.Api = api;
    loaded.Ready = true;
    return loaded.Api;
}

std::string Utf8(const std::u16string& AText) { return cf::ToUtf8(AText); }

std::u16string Utf16(const char* AText) { return AText ? cf::FromUtf8(AText) : std::u16string(); }

}  // namespace forms::gtk
