// WebKitGTK, loaded at run time like GTK itself, for the help page: 4.1 (the
// libsoup 3 build) where the system has it, else 4.0.
#pragma once

#include <optional>

#include "forms/uGtkApi_gtk.h"

namespace forms::gtk {

struct TWebKitApi {
    GtkWidget* (*webkit_web_view_new)() = nullptr;
    void (*webkit_web_view_load_uri)(GtkWidget* AView, const char* AUri) = nullptr;
};

// Nothing when no WebKitGTK can be loaded. Asked at every window: a library
// already loaded answers at once.
std::optional<TWebKitApi> WebKit();

}  // namespace forms::gtk
