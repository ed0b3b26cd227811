// The GTK operator name window, run modally over its owner.
#pragma once

#include "forms/uGtkApi_gtk.h"
#include "forms/ufmOpersEditTiger.h"

namespace forms::gtk {

class TOperatorEditorGtk : public IOperatorEditor {
public:
    explicit TOperatorEditorGtk(GtkWidget* AOwner) : FOwner(AOwner) {}
    bool Edit(TfmOpersEditTiger& AWindow) override;

private:
    GtkWidget* FOwner;
};

}  // namespace forms::gtk
