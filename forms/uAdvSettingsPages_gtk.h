// The GTK widgets of the advanced settings dialog: where each sits, and which
// field of the dialog's state each one shows. Every widget carries its
// control's name, so tests find it.
#pragma once

#include <string>
#include <vector>

#include "forms/uAdvSettingsChecks.h"
#include "forms/uAdvSettingsState.h"
#include "forms/uGtkApi_gtk.h"

namespace forms::gtk {

struct TCheckBinding {
    GtkWidget* Control;
    const TCheckControl* Check;
};

// A GtkEntry (spin fields included).
struct TTextBinding {
    GtkWidget* Control;
    std::u16string TAdvSettingsState::*Field;
};

struct TListBinding {
    GtkWidget* Control;  // GtkComboBoxText, with an entry when it accepts typing
    TChoiceList TAdvSettingsState::*Field;
    bool Typed;
};

struct TAdvSettingsControls {
    GtkWidget* Pages = nullptr;
    GtkWidget* MagazName = nullptr;  // a GtkTextView
    GtkWidget* DateText = nullptr;   // edDate, and the calendar it shows
    GtkWidget* Calendar = nullptr;
    std::vector<GtkWidget*> DateTimeGroup;  // what cbxCurrentDateTime disables
    GtkWidget* Hour = nullptr;
    GtkWidget* Minute = nullptr;
    GtkWidget* Second = nullptr;
    GtkWidget* Opers = nullptr;  // a GtkTreeView over OperRows: number, name
    GtkListStore* OperRows = nullptr;
    GtkWidget* OperEdit = nullptr;
    GtkWidget* LabelTemplatePath = nullptr;
    GtkWidget* BrowseTemplatePath = nullptr;
    GtkWidget* Ok = nullptr;
    GtkWidget* Cancel = nullptr;
    std::vector<GtkWidget*> PLU2Group;  // edPLU2 and lbPLU2
    std::vector<TCheckBinding> Checks;
    std::vector<TTextBinding> Texts;
    std::vector<TListBinding> Lists;
};

// Fills the dialog's content area AContent with every control.
TAdvSettingsControls CreateAdvSettingsControls(const TGtkApi& AApi, GtkWidget* AContent);

}  // namespace forms::gtk
