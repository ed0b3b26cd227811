// The Win32 view of the log viewer: a tool bar with the file list and the
// folder button over a read-only text, and the one-second timer.
#include "forms/ufmLog.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "forms/uControlIds.h"
#include "forms/uDiskLogFiles.h"
#include "forms/uWinControls_win.h"
#include "forms/uWinModal_win.h"
#include "forms/uWinWindow_win.h"

namespace forms {

namespace {

using namespace win;

constexpr int kClientWidth = 633;
constexpr int kClientHeight = 293;
constexpr int kToolBarHeight = 26;
constexpr UINT_PTR kCheckFileTimer = 1;
constexpr UINT kCheckFileInterval = 1000;

class TShellExplorer : public IShell {
public:
    explicit TShellExplorer(const HWND& AOwner) : FOwner(AOwner) {}
    void Explore(const std::u16string& AFolder) override {
        ShellExecuteW(FOwner, L"explore", Wide(AFolder), nullptr, nullptr, SW_SHOWNORMAL);
    }

private:
    const HWND& FOwner;
};

// The shell's folder picture, small.
class TFolderIcon {
public:
    TFolderIcon() { ExtractIconExW(L"shell32.dll", -4, nullptr, &FIcon, 1); }
    ~TFolderIcon() {
        if (FIcon) DestroyIcon(FIcon);
    }
    TFolderIcon(const TFolderIcon&) = delete;
    TFolderIcon& operator=(const TFolderIcon&) = delete;
    HICON Handle() const { return FIcon; }

private:
    HICON FIcon = nullptr;
};

class TLogWindow : public TWinWindow {
public:
    TLogWindow() : FShell(FHandle), FPresenter(FLogFiles, FShell) {}
    ~TLogWindow() override { DestroyHandle(); }

    void Show() {
        CreateTopLevel(FClass, u"Просмотр лога", WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0,
                       nullptr, kClientWidth, kClientHeight);
        CreateControls();
        Apply(FPresenter.FormCreate());
        ShowFileList();
        SetTimer(FHandle, kCheckFileTimer, kCheckFileInterval, nullptr);
        ShowModal();
        KillTimer(FHandle, kCheckFileTimer);
    }

protected:
    LRESULT HandleMessage(UINT AMessage, WPARAM AW, LPARAM AL) override {
        switch (AMessage) {
            case WM_SIZE:
                Layout(LOWORD(AL), HIWORD(AL));
                return 0;
            case WM_TIMER:
                if (AW == kCheckFileTimer) Tick();
                return 0;
            case WM_COMMAND:
                Command(LOWORD(AW), HIWORD(AW));
                return 0;
            default:
                return TWinWindow::HandleMessage(AMessage, AW, AL);
        }
    }

private:
    void CreateControls() {
        FFileList = AddControl(FHandle, WC_COMBOBOXW, u"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                             {2, 2, 320, 300}, ids::kLogFiles, FFont.Handle());
        FOpenDir = AddControl(FHandle, WC_BUTTONW, u"", BS_ICON | BS_FLAT | WS_TABSTOP, {326, 1, 24, 24},
                              ids::kOpenDir, FFont.Handle());
        SendMessageW(FOpenDir, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(FIcon.Handle()));
        FText = AddControl(FHandle, WC_EDITW, u"",
                           ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL |
                               WS_TABSTOP,
                           {0, kToolBarHeight, kClientWidth, kClientHeight - kToolBarHeight}, ids::kLogText,
                           FFont.Handle(), WS_EX_CLIENTEDGE);
        // A day of exchange logging is far beyond the control's default limit.
        SendMessageW(FText, EM_SETLIMITTEXT, 0, 0);
    }

    void Layout(int AWidth, int AHeight) {
        if (FText) MoveWindow(FText, 0, kToolBarHeight, AWidth, AHeight - kToolBarHeight, TRUE);
    }

    void Command(int AId, int ACode) {
        if (AId == ids::kLogFiles && ACode == CBN_DROPDOWN) {
            FPresenter.cbbLogFilesDropDown();
            ShowFileList();
        } else if (AId == ids::kLogFiles && ACode == CBN_SELCHANGE) {
            Apply(FPresenter.cbbLogFilesChange(ComboIndex(FFileList)));
        } else if (AId == ids::kOpenDir && ACode == BN_CLICKED) {
            FPresenter.btnOpenDirClick();
        }
    }

    // A tick that fails shows its error box; the ticks meanwhile skip instead
    // of stacking more boxes.
    void Tick() {
        if (FTicking) return;
        FTicking = true;
        try {
            Apply(FPresenter.tmrCheckFileTimer());
        } catch (...) {
            ShowCurrentError(FHandle);
        }
        FTicking = false;
    }

    void ShowFileList() {
        SetComboItems(FFileList, FPresenter.Files());
        SetComboIndex(FFileList, FPresenter.ItemIndex());
    }

    void Apply(const TLogTextUpdate& AUpdate) {
        if (AUpdate.Kind == TLogTextUpdate::TKind::None) return;
        DWORD start = 0, end = 0;
        SendMessageW(FText, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        SendMessageW(FText, WM_SETREDRAW, FALSE, 0);
        const wchar_t* text = Wide(AUpdate.Text);
        if (AUpdate.Kind == TLogTextUpdate::TKind::Replace) {
            SetWindowTextW(FText, text);
        } else {
            const LRESULT length = GetWindowTextLengthW(FText);
            SendMessageW(FText, EM_SETSEL, static_cast<WPARAM>(length), length);
            SendMessageW(FText, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
        }
        if (AUpdate.KeepCaret || AUpdate.Kind == TLogTextUpdate::TKind::Append)
            SendMessageW(FText, EM_SETSEL, start, start);
        SendMessageW(FText, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FText, nullptr, TRUE);
        if (AUpdate.KeepCaret) {
            SendMessageW(FText, EM_SCROLLCARET, 0, 0);
            SetFocus(FText);
        }
    }

    TCommonControlsScope FControls;
    TWindowClass FClass{L"WqLogViewer", Proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    TFont FFont;
    TFolderIcon FIcon;
    TDiskLogFiles FLogFiles;
    TShellExplorer FShell;
    TfrmLog FPresenter;
    HWND FFileList = nullptr;
    HWND FOpenDir = nullptr;
    HWND FText = nullptr;
    bool FTicking = false;
};

}  // namespace

void ViewLogWindow() {
    TLogWindow window;
    window.Show();
}

}  // namespace forms
