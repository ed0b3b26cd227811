// What every GTK view shares: the modal dialog on the calling thread, the
// error box, the shield around callbacks, widget names and starting programs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/uFormServices.h"
#include "forms/uGtkApi_gtk.h"

namespace forms::gtk {

template <typename T>
T* As(void* AWidget) {
    return static_cast<T*>(AWidget);
}

// A dialog with that caption and client size, centred, modal, transient for
// the process's active GTK window when there is one (the host's windows take
// no input meanwhile).
GtkWidget* NewDialog(const TGtkApi& AApi, const std::u16string& ACaption, int AWidth, int AHeight);
// Shows ADialog and everything in it, in the library's compact style.
void ShowDialog(const TGtkApi& AApi, GtkWidget* ADialog);
// Shows ADialog and runs the calling thread's main loop until it answers;
// the dialog is destroyed afterwards.
int RunDialog(const TGtkApi& AApi, GtkWidget* ADialog);
GtkWidget* ContentOf(const TGtkApi& AApi, GtkWidget* ADialog);

// A modal message box captioned "Ошибка" with the error icon, owned by AParent.
void ShowError(const TGtkApi& AApi, GtkWidget* AParent, const std::u16string& AMessage);
// Runs AAction; what it raises is shown in the error box instead of reaching GTK.
void Guarded(const TGtkApi& AApi, GtkWidget* AParent, const std::function<void()>& AAction);

// The widget under a name the tests find it by.
GtkWidget* Named(const TGtkApi& AApi, GtkWidget* AWidget, const char* AName);
GtkWidget* Label(const TGtkApi& AApi, const std::u16string& AText);
void Connect(const TGtkApi& AApi, void* AWidget, const char* ASignal, GCallback ACallback, void* AData);
void SetMargins(const TGtkApi& AApi, GtkWidget* AWidget, int AMargin);

// Starts a program found on PATH with these arguments, without a shell and
// without waiting; raises cf::Exception when it cannot be started.
void StartProgram(const TGtkApi& AApi, const std::vector<std::string>& AArguments);

// "Explore" of a folder: the desktop's file manager through xdg-open.
class TXdgShell : public IShell {
public:
    void Explore(const std::u16string& AFolder) override;
};

}  // namespace forms::gtk
