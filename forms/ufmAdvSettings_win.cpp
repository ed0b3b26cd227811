// The Win32 view of the advanced settings dialog: it creates the controls,
// copies the presenter's state into them and back, and forwards the events.
#include "forms/ufmAdvSettings.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <array>
#include <vector>

#include "common/uSystemTime_win.h"
#include "forms/uAdvSettingsPages_win.h"
#include "forms/uControlIds.h"
#include "forms/uWinControls_win.h"
#include "forms/uWinModal_win.h"
#include "forms/uWinWindow_win.h"
#include "forms/ufmOpersEditTiger_win.h"
#include "lib/cf/DateTime.h"

namespace forms {

namespace {

using namespace win;

constexpr int kClientWidth = 408;
constexpr int kClientHeight = 473;

double DateOf(const SYSTEMTIME& t) {
    cf::DateTimeParts parts = common::PartsOfSystemTime(t);
    parts.Hour = parts.Minute = parts.Second = parts.Millisecond = 0;
    return cf::EncodeDateTime(parts);
}

double TimeOf(const SYSTEMTIME& t) {
    cf::DateTimeParts parts = common::PartsOfSystemTime(t);
    parts.Year = 1899, parts.Month = 12, parts.Day = 30, parts.Millisecond = 0;
    return cf::EncodeDateTime(parts);
}

double PickerValue(HWND APicker, double (*APart)(const SYSTEMTIME&)) {
    SYSTEMTIME time{};
    SendMessageW(APicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return APart(time);
}

void SetPickerValue(HWND APicker, double AValue, double (*APart)(const SYSTEMTIME&)) {
    if (PickerValue(APicker, APart) == AValue) return;
    SYSTEMTIME time = common::SystemTimeOfParts(cf::DecodeDateTime(AValue));
    if (APart == TimeOf) time.wYear = 2000, time.wMonth = 1, time.wDay = 1;  // the picker needs a real date
    SendMessageW(APicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

std::u16string BrowseForFolder(HWND AOwner) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BROWSEINFOW info{};
    info.hwndOwner = AOwner;
    info.lpszTitle = L"Директория шаблона этикеток";
    // The newer picker needs a single-threaded apartment; the host's thread may be in the other one.
    info.ulFlags = BIF_RETURNONLYFSDIRS | (SUCCEEDED(com) ? BIF_NEWDIALOGSTYLE : 0);
    std::u16string folder;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(list, path)) folder.assign(path, path + wcslen(path));
        CoTaskMemFree(list);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return folder;
}

class TAdvSettingsWindow : public TWinWindow {
public:
    explicit TAdvSettingsWindow(TfmAdvSettings& APresenter) : FPresenter(APresenter) {}
    ~TAdvSettingsWindow() override { DestroyHandle(); }

    void Show() {
        CreateTopLevel(FClass, u"Дополнительные настройки", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                       WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, nullptr, kClientWidth, kClientHeight);
        FControls = CreateAdvSettingsControls(FHandle, FPageClass.Name(), FFont.Handle(), FBoldFont.Handle());
        Push();
        ShowPage(FPresenter.State().PageIndex);
        ShowModal();
    }

protected:
    LRESULT HandleMessage(UINT AMessage, WPARAM AW, LPARAM AL) override {
        switch (AMessage) {
            case WM_COMMAND:
                if (!FUpdating) Command(LOWORD(AW), HIWORD(AW));
                return 0;
            case DM_GETDEFID:
                // Enter in a field must not write to the scale. Without a
                // default the dialog manager would press IDOK: name one that
                // no control has.
                return MAKELRESULT(ids::kNoButton, DC_HASDEFID);
            case WM_NOTIFY:
                if (reinterpret_cast<NMHDR*>(AL)->code == TCN_SELCHANGE)
                    ShowPage(static_cast<int>(SendMessageW(FControls.Pages, TCM_GETCURSEL, 0, 0)));
                return 0;
            default:
                return TWinWindow::HandleMessage(AMessage, AW, AL);
        }
    }

private:
    // An event of the presenter between copying the controls out and back in.
    template <typename F>
    void Event(F&& AEvent) {
        Pull();
        AEvent();
        Push();
    }

    void Command(int AId, int ACode) {
        TfmAdvSettings& p = FPresenter;
        if (AId == ids::kFirmWare && ACode == CBN_SELCHANGE) {
            Event([&] { p.cbFirmWareChange(p.State().FirmWare.ItemIndex); });
        } else if (AId == ids::kCurrentDateTime && ACode == BN_CLICKED) {
            Event([&] { p.cbxCurrentDateTimeClick(p.State().CurrentDateTime); });
        } else if (AId == ids::kOperEdit && ACode == BN_CLICKED) {
            TOperatorEditorWin editor(FHandle);
            Event([&] { p.btnOperEditClick(editor); });
        } else if (AId == ids::kLabelTemplatePath && ACode == EN_CHANGE) {
            Event([&] { p.LabelTemplatePathChange(p.State().LabelTemplatePath); });
        } else if (AId == ids::kBrowseTemplatePath && ACode == BN_CLICKED) {
            const std::u16string folder = BrowseForFolder(FHandle);
            if (!folder.empty()) SetText(FControls.LabelTemplatePath, folder);
        } else if (AId == ids::kOk && ACode == BN_CLICKED) {
            // A failing step raises: the shield shows it and the dialog stays open.
            Pull();
            p.btnOKClick();
            Close();
        } else if (AId == ids::kCancel && ACode == BN_CLICKED) {
            Close();
        }
    }

    void ShowPage(int AIndex) {
        FPresenter.State().PageIndex = AIndex;
        SendMessageW(FControls.Pages, TCM_SETCURSEL, static_cast<WPARAM>(AIndex), 0);
        for (std::size_t i = 0; i < FControls.PagePanels.size(); ++i)
            ShowWindow(FControls.PagePanels[i], static_cast<int>(i) == AIndex ? SW_SHOW : SW_HIDE);
    }

    void Pull() {
        TAdvSettingsState& s = FPresenter.State();
        for (const TCheckBinding& b : FControls.Checks) b.Check->Store(s, Checked(b.Control));
        for (const TTextBinding& b : FControls.Texts) s.*b.Field = TextOf(b.Control);
        for (const TListBinding& b : FControls.Lists) {
            TChoiceList& list = s.*b.Field;
            list.ItemIndex = ComboIndex(b.Control);
            list.Text = TextOf(b.Control);
        }
        s.Date = PickerValue(FControls.Date, DateOf);
        s.Time = PickerValue(FControls.Time, TimeOf);
        s.SelectedOperator =
            static_cast<int>(SendMessageW(FControls.Opers, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }

    void Push() {
        FUpdating = true;
        const TAdvSettingsState& s = FPresenter.State();
        for (const TCheckBinding& b : FControls.Checks) SetChecked(b.Control, b.Check->Shown(s));
        for (const TTextBinding& b : FControls.Texts) {
            const std::u16string& text = s.*b.Field;
            if (TextOf(b.Control) != text) SetText(b.Control, text);
        }
        for (const TListBinding& b : FControls.Lists) {
            const TChoiceList& list = s.*b.Field;
            SetComboItems(b.Control, list.Items);
            SetComboIndex(b.Control, list.ItemIndex);
            if (list.ItemIndex < 0 && TextOf(b.Control) != list.Text) SetText(b.Control, list.Text);
        }
        SetPickerValue(FControls.Date, s.Date, DateOf);
        SetPickerValue(FControls.Time, s.Time, TimeOf);
        EnableWindow(FControls.Date, s.DateTimeEnabled);
        EnableWindow(FControls.Time, s.DateTimeEnabled);
        for (HWND control : FControls.PLU2Group) EnableWindow(control, s.PLU2Enabled);
        PushOperators(s);
        FUpdating = false;
    }

    void PushOperators(const TAdvSettingsState& s) {
        for (int row = 0; row < kOperatorRows; ++row) {
            std::wstring name = Wide(s.Operators[static_cast<std::size_t>(row)]);
            LVITEMW item{};
            item.iSubItem = 1;
            item.pszText = name.data();
            SendMessageW(FControls.Opers, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        }
    }

    TfmAdvSettings& FPresenter;
    TCommonControlsScope FCommonControls;
    TWindowClass FClass{L"WqAdvSettings", Proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    TWindowClass FPageClass{L"WqAdvSettingsPage", PageProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    TFont FFont;
    TFont FBoldFont{true};
    TAdvSettingsControls FControls;
    bool FUpdating = false;
};

}  // namespace

void ShowAdvSettingsDialog(int32_t AFirmwareType, bool AExtLogEnabled, const std::u16string& AIPAddress,
                           int32_t AIPPort) {
    OpenAdvSettings(AFirmwareType, AExtLogEnabled, AIPAddress, AIPPort, [](TfmAdvSettings& APresenter) {
        TAdvSettingsWindow window(APresenter);
        window.Show();
    });
}

}  // namespace forms
