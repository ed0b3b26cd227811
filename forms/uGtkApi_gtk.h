// GTK 3 as the windows use it, loaded at run time: the library never links
// GTK, so it loads and uploads on a server without GTK or without a display.
// Types come from our own declarations of GTK, so that the library builds
// without GTK's development files; every call goes through the table below.
// GTK's type-cast macros call functions directly: views use plain casts.
#pragma once

#include <string>

#include "forms/uGtkDeclarations_gtk.h"

namespace forms::gtk {

#define WQ_GTK_FUNCTIONS(X)                                                                                     \
    X(gtk_init_check) X(gtk_disable_setlocale) X(gdk_display_get_default) X(gtk_window_list_toplevels) X(g_object_get) \
    X(g_list_free) X(g_signal_connect_data) X(g_signal_handlers_disconnect_matched) X(g_timeout_add)            \
    X(g_idle_add) X(g_source_remove) X(g_free) X(g_error_free) X(g_spawn_async) X(g_filename_to_uri)             \
    X(gtk_widget_show_all) X(gtk_widget_destroy) X(gtk_widget_set_name) X(gtk_widget_set_sensitive)             \
    X(gtk_widget_grab_focus) X(gtk_widget_set_size_request) X(gtk_widget_set_hexpand) X(gtk_widget_set_vexpand) \
    X(gtk_widget_set_halign) X(gtk_widget_set_valign) X(gtk_widget_set_margin_start)                           \
    X(gtk_widget_set_margin_end) X(gtk_widget_set_margin_top) X(gtk_widget_set_margin_bottom)                  \
    X(gtk_widget_get_visible) X(gtk_widget_set_can_default) X(gtk_widget_grab_default)                         \
    X(gtk_window_set_title) X(gtk_window_set_default_size) X(gtk_window_set_position)                          \
    X(gtk_window_set_transient_for) X(gtk_window_set_modal) X(gtk_window_is_active)                            \
    X(gtk_window_set_resizable) X(gtk_window_get_title) X(gtk_window_set_destroy_with_parent)                  \
    X(gtk_dialog_new) X(gtk_dialog_run) X(gtk_dialog_response) X(gtk_dialog_get_content_area)                  \
    X(gtk_message_dialog_new) X(gtk_container_add) X(gtk_container_set_border_width)                           \
    X(gtk_box_new) X(gtk_box_pack_start) X(gtk_box_pack_end) X(gtk_box_set_spacing)                            \
    X(gtk_grid_new) X(gtk_grid_attach) X(gtk_grid_set_row_spacing) X(gtk_grid_set_column_spacing)              \
    X(gtk_label_new) X(gtk_label_set_xalign) X(gtk_label_set_markup) X(gtk_frame_new)                          \
    X(gtk_button_new_with_label) X(gtk_button_new_from_icon_name) X(gtk_button_set_relief)                     \
    X(gtk_button_clicked) X(gtk_toggle_button_get_active) X(gtk_toggle_button_set_active)                      \
    X(gtk_check_button_new_with_label) X(gtk_radio_button_new_with_label_from_widget)                          \
    X(gtk_combo_box_text_new) X(gtk_combo_box_text_new_with_entry) X(gtk_combo_box_text_append_text)           \
    X(gtk_combo_box_text_remove_all) X(gtk_combo_box_get_active) X(gtk_combo_box_set_active)                   \
    X(gtk_bin_get_child) X(gtk_entry_new) X(gtk_entry_get_text) X(gtk_entry_set_text)                          \
    X(gtk_entry_set_max_length) X(gtk_entry_set_width_chars) X(gtk_editable_set_editable)                      \
    X(gtk_entry_set_activates_default) X(gtk_spin_button_new_with_range) X(gtk_spin_button_set_digits)         \
    X(gtk_spin_button_get_value_as_int) X(gtk_spin_button_set_value) X(gtk_spin_button_set_numeric)            \
    X(gtk_scrolled_window_new) X(gtk_scrolled_window_set_policy) X(gtk_scrolled_window_set_shadow_type)        \
    X(gtk_text_view_new) X(gtk_text_view_get_buffer) X(gtk_text_view_set_editable)                             \
    X(gtk_text_view_set_wrap_mode) X(gtk_text_view_set_left_margin) X(gtk_text_view_set_right_margin)          \
    X(gtk_text_view_set_cursor_visible) X(gtk_text_view_scroll_mark_onscreen) X(gtk_text_view_set_monospace)   \
    X(gtk_text_buffer_set_text) X(gtk_text_buffer_get_bounds) X(gtk_text_buffer_get_text)                      \
    X(gtk_text_buffer_get_end_iter) X(gtk_text_buffer_insert) X(gtk_text_buffer_get_insert)                    \
    X(gtk_text_buffer_get_iter_at_mark) X(gtk_text_buffer_get_iter_at_offset) X(gtk_text_buffer_place_cursor)  \
    X(gtk_text_iter_get_offset) X(gtk_notebook_new) X(gtk_notebook_append_page)                                \
    X(gtk_notebook_set_current_page) X(gtk_notebook_get_current_page) X(gtk_list_store_new)                    \
    X(gtk_list_store_append) X(gtk_list_store_set) X(gtk_tree_model_iter_nth_child)                            \
    X(gtk_tree_model_get_path) X(gtk_tree_path_get_indices) X(gtk_tree_path_free) X(g_object_unref)            \
    X(gtk_tree_view_new_with_model) X(gtk_tree_view_get_selection) X(gtk_tree_selection_get_selected)          \
    X(gtk_tree_view_insert_column_with_attributes) X(gtk_cell_renderer_text_new) X(gtk_calendar_new)           \
    X(gtk_calendar_get_date) X(gtk_calendar_select_month) X(gtk_calendar_select_day) X(gtk_menu_button_new)    \
    X(gtk_menu_button_set_popover) X(gtk_popover_new) X(gtk_popover_popdown) X(gtk_image_new_from_icon_name)  \
    X(gtk_button_set_image) X(gtk_file_chooser_dialog_new) X(gtk_file_chooser_get_filename) \
    X(gtk_css_provider_new) X(gtk_css_provider_load_from_data) X(gtk_widget_get_style_context)                    \
    X(gtk_style_context_add_provider) X(gtk_container_forall) X(gtk_container_get_type) X(g_type_check_instance_is_a) \
    X(gtk_message_dialog_get_message_area) X(gtk_widget_get_parent) X(gtk_box_reorder_child)

struct TGtkApi {
#define WQ_GTK_POINTER(name) decltype(&prototypes::name) name = nullptr;
    WQ_GTK_FUNCTIONS(WQ_GTK_POINTER)
#undef WQ_GTK_POINTER
};

inline constexpr char16_t kNoDisplayPrefix[] = u"Нет графического окружения: ";

// GTK, initialised: the application's own when it already runs GTK in this
// process, otherwise loaded and initialised here once. Raises cf::Exception
// with a message starting kNoDisplayPrefix when there is no display or no GTK.
const TGtkApi& Gtk();

// UTF-8 for GTK and back.
std::string Utf8(const std::u16string& AText);
std::u16string Utf16(const char* AText);

}  // namespace forms::gtk
