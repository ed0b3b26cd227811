// The Win32 operator name window, run modally over its owner.
#pragma once

#include <windows.h>

#include "forms/ufmOpersEditTiger.h"

namespace forms::win {

class TOperatorEditorWin : public IOperatorEditor {
public:
    explicit TOperatorEditorWin(HWND AOwner) : FOwner(AOwner) {}
    bool Edit(TfmOpersEditTiger& AWindow) override;

private:
    HWND FOwner;
};

}  // namespace forms::win
