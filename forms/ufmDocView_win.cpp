// The Win32 view of the help window: the system's web browser control filling
// the window or, without an HTML engine, the document's text and a button
// that opens the page in the system's browser.
#include "forms/ufmDocView.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>

#include "common/uSysError.h"
#include "forms/uControlIds.h"
#include "forms/uWinApartment_win.h"
#include "forms/uWinBrowser_win.h"
#include "forms/uWinControls_win.h"
#include "forms/uWinModal_win.h"
#include "forms/uWinWindow_win.h"
#include "lib/cf/Exception.h"

namespace forms {

namespace {

using namespace win;

constexpr int kMargin = 8;
constexpr int kTextMargin = 6;
constexpr int kButtonWidth = 150;
constexpr int kButtonHeight = 25;
constexpr int kButtonBarHeight = kButtonHeight + 2 * kMargin;

class TWinDocViewSystem : public IDocViewSystem {
public:
    explicit TWinDocViewSystem(const HWND& AOwner) : FOwner(AOwner) {}
    bool HasHtmlEngine() override { return win::HasHtmlEngine(); }
    void OpenInSystemBrowser(const std::u16string& AFile) override {
        const auto started = reinterpret_cast<INT_PTR>(
            ShellExecuteW(FOwner, L"open", Wide(AFile), nullptr, nullptr, SW_SHOWNORMAL));
        if (started <= 32)
            throw cf::Exception(u"Не удалось открыть страницу в браузере: " +
                                common::SysErrorMessage(static_cast<int>(GetLastError())));
    }

private:
    const HWND& FOwner;
};

// The edit control breaks lines only at CR LF.
std::u16string WithCrLf(const std::u16string& AText) {
    std::u16string text;
    text.reserve(AText.size() + AText.size() / 16);
    for (std::size_t i = 0; i < AText.size(); ++i) {
        if (AText[i] == u'\n' && (i == 0 || AText[i - 1] != u'\r')) text += u'\r';
        text += AText[i];
    }
    return text;
}

class TfrmDocView : public TWinWindow {
public:
    TfrmDocView(const std::u16string& AHtmlFilePath, const std::u16string& ACaption)
        : FSystem(FHandle), FPresenter(AHtmlFilePath, ACaption, FSystem) {}
    ~TfrmDocView() override {
        FBrowser.reset();
        DestroyHandle();
    }

    void Show() {
        const TDocViewState& state = FPresenter.State();
        CreateTopLevel(FClass, state.Caption, WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0, nullptr,
                       state.ClientWidth, state.ClientHeight);
        if (state.Mode == TDocViewMode::dvBrowser)
            CreateBrowser(state);
        else
            CreateTextControls(state);
        ShowModal();
        // The control lets go of the page before its folder goes.
        FBrowser.reset();
        FPresenter.Closed();
    }

protected:
    LRESULT HandleMessage(UINT AMessage, WPARAM AW, LPARAM AL) override {
        switch (AMessage) {
            case WM_SIZE:
                Layout(LOWORD(AL), HIWORD(AL));
                return 0;
            case WM_COMMAND:
                if (LOWORD(AW) == ids::kDocOpenInBrowser && HIWORD(AW) == BN_CLICKED) OpenInBrowser();
                return 0;
            case WM_CTLCOLORSTATIC:
                // A document reads on the window colour, not the grey of a read-only field.
                if (reinterpret_cast<HWND>(AL) == FText) {
                    SetBkColor(reinterpret_cast<HDC>(AW), GetSysColor(COLOR_WINDOW));
                    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
                }
                return TWinWindow::HandleMessage(AMessage, AW, AL);
            default:
                return TWinWindow::HandleMessage(AMessage, AW, AL);
        }
    }

private:
    void CreateBrowser(const TDocViewState& AState) {
        FBrowser = std::make_unique<TWebBrowser>(FHandle);
        FBrowser->Navigate(AState.PageFile);
    }

    void CreateTextControls(const TDocViewState& AState) {
        FText = AddControl(FHandle, WC_EDITW, u"",
                           ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, {0, 0, 0, 0},
                           ids::kDocText, FFont.Handle(), WS_EX_CLIENTEDGE);
        SendMessageW(FText, EM_SETLIMITTEXT, 0, 0);
        SendMessageW(FText, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kTextMargin, kTextMargin));
        SetText(FText, WithCrLf(AState.DocumentText));
        FOpen = AddControl(FHandle, WC_BUTTONW, AState.OpenButtonCaption, BS_PUSHBUTTON | WS_TABSTOP, {0, 0, 0, 0},
                           ids::kDocOpenInBrowser, FFont.Handle());
        RECT client{};
        GetClientRect(FHandle, &client);
        Layout(client.right, client.bottom);
    }

    void Layout(int AWidth, int AHeight) {
        if (FBrowser) FBrowser->Resize(AWidth, AHeight);
        if (FText) MoveWindow(FText, 0, 0, AWidth, AHeight - kButtonBarHeight, TRUE);
        if (FOpen)
            MoveWindow(FOpen, AWidth - kMargin - kButtonWidth, AHeight - kMargin - kButtonHeight, kButtonWidth,
                       kButtonHeight, TRUE);
    }

    void OpenInBrowser() {
        const std::u16string error = FPresenter.OpenInBrowserClicked();
        if (!error.empty()) ShowError(FHandle, error);
    }

    TCommonControlsScope FControls;
    TWindowClass FClass{L"WqDocView", Proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    TFont FFont;
    TWinDocViewSystem FSystem;
    TDocViewPresenter FPresenter;
    std::unique_ptr<TWebBrowser> FBrowser;
    HWND FText = nullptr;
    HWND FOpen = nullptr;
};

}  // namespace

void ShowDocView(const std::u16string& AHtmlFilePath, const std::u16string& ACaption) {
    RunInSingleThreadedApartment([&] {
        TfrmDocView window(AHtmlFilePath, ACaption);
        window.Show();
    });
}

}  // namespace forms
