#include "forms/ufmOpersEditTiger_win.h"

#include <commctrl.h>

#include "forms/uControlIds.h"
#include "forms/uWinControls_win.h"
#include "forms/uWinWindow_win.h"

namespace forms::win {

namespace {

constexpr int kClientWidth = 253;
constexpr int kClientHeight = 104;

class TOperatorWindow : public TWinWindow {
public:
    explicit TOperatorWindow(TfmOpersEditTiger& APresenter) : FPresenter(APresenter) {}
    ~TOperatorWindow() override { DestroyHandle(); }

    bool Show(HWND AOwner) {
        CreateTopLevel(FClass, u"Имя оператора", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                       WS_EX_DLGMODALFRAME, AOwner, kClientWidth, kClientHeight);
        AddControl(FHandle, WC_STATICW, u"Номер:", 0, {12, 14, 50, 16}, -1, FFont.Handle());
        AddControl(FHandle, WC_EDITW, FPresenter.edNum(), ES_READONLY | WS_TABSTOP, {64, 10, 60, 21}, ids::kOperNum,
                   FFont.Handle(), WS_EX_CLIENTEDGE);
        AddControl(FHandle, WC_STATICW, u"Имя:", 0, {12, 44, 50, 16}, -1, FFont.Handle());
        FName = AddControl(FHandle, WC_EDITW, FPresenter.edName(), ES_AUTOHSCROLL | WS_TABSTOP, {64, 40, 177, 21},
                           ids::kOperName, FFont.Handle(), WS_EX_CLIENTEDGE);
        SendMessageW(FName, EM_LIMITTEXT, kOperatorNameLength, 0);
        AddControl(FHandle, WC_BUTTONW, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, {85, 71, 75, 25}, ids::kOk,
                   FFont.Handle());
        HWND cancel = AddControl(FHandle, WC_BUTTONW, u"Отмена", BS_PUSHBUTTON | WS_TABSTOP, {166, 71, 75, 25},
                                 ids::kCancel, FFont.Handle());
        ShowWindow(FHandle, SW_SHOWNORMAL);
        SetFocus(cancel);
        ShowModal();
        return FConfirmed;
    }

protected:
    LRESULT HandleMessage(UINT AMessage, WPARAM AW, LPARAM AL) override {
        if (AMessage == WM_COMMAND && HIWORD(AW) == BN_CLICKED) {
            if (LOWORD(AW) == ids::kOk) {
                FPresenter.btnOkClick(TextOf(FName));
                FConfirmed = true;
                Close();
            } else if (LOWORD(AW) == ids::kCancel) {
                Close();
            }
            return 0;
        }
        return TWinWindow::HandleMessage(AMessage, AW, AL);
    }

private:
    TfmOpersEditTiger& FPresenter;
    TWindowClass FClass{L"WqOperatorName", Proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    TFont FFont;
    HWND FName = nullptr;
    bool FConfirmed = false;
};

}  // namespace

bool TOperatorEditorWin::Edit(TfmOpersEditTiger& AWindow) {
    TOperatorWindow window(AWindow);
    return window.Show(FOwner);
}

}  // namespace forms::win
