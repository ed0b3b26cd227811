#include "tests/ui/GtkProbe.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace ui_tests {

namespace {

// Shared with the idle callback, which may come after the caller gave up.
struct TMainCall {
    std::function<void()> Action;
    std::mutex Lock;
    std::condition_variable Done;
    bool Finished = false;
    bool Abandoned = false;
};

gboolean RunMainCall(gpointer AData) {
    std::unique_ptr<std::shared_ptr<TMainCall>> holder(static_cast<std::shared_ptr<TMainCall>*>(AData));
    TMainCall& call = **holder;
    {
        std::lock_guard<std::mutex> guard(call.Lock);
        if (call.Abandoned) return G_SOURCE_REMOVE;
    }
    call.Action();
    {
        std::lock_guard<std::mutex> guard(call.Lock);
        call.Finished = true;
    }
    call.Done.notify_all();
    return G_SOURCE_REMOVE;
}

gboolean RunPosted(gpointer AData) {
    auto* action = static_cast<std::function<void()>*>(AData);
    (*action)();
    delete action;
    return G_SOURCE_REMOVE;
}

void Collect(GtkWidget* AWidget, gpointer AData) {
    static_cast<std::vector<GtkWidget*>*>(AData)->push_back(AWidget);
}

}  // namespace

bool OnMain(const std::function<void()>& AAction, int ATimeoutMs) {
    auto call = std::make_shared<TMainCall>();
    call->Action = AAction;
    g_idle_add(RunMainCall, new std::shared_ptr<TMainCall>(call));
    std::unique_lock<std::mutex> guard(call->Lock);
    if (call->Done.wait_for(guard, std::chrono::milliseconds(ATimeoutMs), [&] { return call->Finished; })) return true;
    call->Abandoned = true;
    return false;
}

void PostToMain(std::function<void()> AAction) { g_idle_add(RunPosted, new std::function<void()>(std::move(AAction))); }

bool WaitFor(const std::function<bool()>& ACondition, int ATimeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ATimeoutMs);
    while (!ACondition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

GtkWidget* FindWindow(const std::string& ACaption) {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* item = windows; item && !found; item = item->next) {
        auto* window = static_cast<GtkWindow*>(item->data);
        const char* title = gtk_window_get_title(window);
        if (title && ACaption == title && gtk_widget_get_visible(GTK_WIDGET(window))) found = GTK_WIDGET(window);
    }
    g_list_free(windows);
    return found;
}

GtkWidget* Find(GtkWidget* ARoot, const std::string& AName) {
    if (!ARoot) return nullptr;
    if (AName == gtk_widget_get_name(ARoot)) return ARoot;
    if (!GTK_IS_CONTAINER(ARoot)) return nullptr;
    std::vector<GtkWidget*> children;
    gtk_container_forall(GTK_CONTAINER(ARoot), Collect, &children);
    for (GtkWidget* child : children)
        if (GtkWidget* found = Find(child, AName)) return found;
    return nullptr;
}

std::string EntryText(GtkWidget* AEntry) { return AEntry ? gtk_entry_get_text(GTK_ENTRY(AEntry)) : "<none>"; }

std::string TextViewText(GtkWidget* AView) {
    if (!AView) return "<none>";
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(AView));
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    char* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    std::string result = text;
    g_free(text);
    return result;
}

std::vector<std::string> ComboItems(GtkWidget* ACombo) {
    std::vector<std::string> items;
    if (!ACombo) return items;
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(ACombo));
    GtkTreeIter iter;
    for (gboolean more = gtk_tree_model_get_iter_first(model, &iter); more; more = gtk_tree_model_iter_next(model, &iter)) {
        char* text = nullptr;
        gtk_tree_model_get(model, &iter, 0, &text, -1);
        items.emplace_back(text ? text : "");
        g_free(text);
    }
    return items;
}

std::pair<int, int> WindowSize(GtkWidget* AWindow) {
    int width = 0, height = 0;
    gtk_window_get_size(GTK_WINDOW(AWindow), &width, &height);
    return {width, height};
}

void PressKey(GtkWidget* AWindow, GtkWidget* AFocus, guint AKeyval) {
    gtk_widget_grab_focus(AFocus);
    GdkWindow* window = gtk_widget_get_window(AWindow);
    GdkDisplay* display = gdk_window_get_display(window);
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), AKeyval, &keys, &count);
    for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = GDK_WINDOW(g_object_ref(window));
        event->key.time = GDK_CURRENT_TIME;
        event->key.keyval = AKeyval;
        if (count > 0) {
            event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
            event->key.group = static_cast<guint8>(keys[0].group);
        }
        gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
        gtk_main_do_event(event);
        gdk_event_free(event);
    }
    g_free(keys);
}

bool Screenshot(GtkWidget* AWindow, const std::string& AName) {
    const char* folder = std::getenv("WQ_UI_ARTEFACTS");
    if (!folder || !*folder) return true;
    GdkWindow* window = gtk_widget_get_window(AWindow);
    if (!window) return false;
    GdkPixbuf* picture =
        gdk_pixbuf_get_from_window(window, 0, 0, gdk_window_get_width(window), gdk_window_get_height(window));
    if (!picture) return false;
    const std::string file = std::string(folder) + "/linux-" + AName + ".png";
    const bool saved = gdk_pixbuf_save(picture, file.c_str(), "png", nullptr, nullptr);
    g_object_unref(picture);
    return saved;
}

TGtkProbe::TGtkProbe(std::function<void(TGtkProbe&)> AScript)
    : FThread([this, script = std::move(AScript)] { script(*this); }) {}

TGtkProbe::~TGtkProbe() {
    if (FThread.joinable()) FThread.join();
}

std::vector<std::string> TGtkProbe::Finish() {
    if (FThread.joinable()) FThread.join();
    return FFailures;
}

void TGtkProbe::Check(bool ACondition, const std::string& AWhat) {
    if (!ACondition) FFailures.push_back(AWhat);
}

GtkWidget* TGtkProbe::WaitForWindow(const std::string& ACaption) {
    GtkWidget* window = nullptr;
    WaitFor([&] {
        OnMain([&] { window = FindWindow(ACaption); });
        return window != nullptr;
    });
    Check(window != nullptr, "the window \"" + ACaption + "\" appears");
    return window;
}

bool TGtkProbe::WaitOnMain(const std::function<bool()>& ACondition, int ATimeoutMs) {
    return WaitFor(
        [&] {
            bool met = false;
            OnMain([&] { met = ACondition(); });
            return met;
        },
        ATimeoutMs);
}

bool TGtkProbe::WaitClosed(const std::string& ACaption) {
    return WaitFor([&] {
        bool open = true;
        // A main thread that no longer serves calls has left the window's loop.
        if (!OnMain([&] { open = FindWindow(ACaption) != nullptr; }, kLoopLeftMs)) return true;
        return !open;
    });
}

void TGtkProbe::Shot(GtkWidget* AWindow, const std::string& AName) {
    // Let the window draw what the last steps changed.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    bool made = false;
    OnMain([&] { made = Screenshot(AWindow, AName); });
    Check(made, "screenshot " + AName);
}

std::string Joined(const std::vector<std::string>& AFailures) {
    std::string text;
    for (const std::string& failure : AFailures) text += failure + "\n";
    return text;
}

}  // namespace ui_tests
