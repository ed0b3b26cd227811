#include "tests/ui/UiProbe.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace ui_tests {

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::u16string TextOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return std::u16string(text.begin(), text.end());
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(50);
    }
    return true;
}

HWND WaitForWindow(const std::u16string& caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] {
        found = FindWindowW(nullptr, Wide(caption).c_str());
        return found != nullptr && IsWindowVisible(found);
    }, timeoutMs);
    return found;
}

namespace {

struct TSearch {
    int Id;
    std::wstring Text;
    HWND Found = nullptr;
};

BOOL CALLBACK MatchId(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<TSearch*>(search);
    if (GetDlgCtrlID(window) != s->Id) return TRUE;
    s->Found = window;
    return FALSE;
}

BOOL CALLBACK MatchText(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<TSearch*>(search);
    if (Wide(TextOf(window)) != s->Text) return TRUE;
    s->Found = window;
    return FALSE;
}

}  // namespace

HWND Child(HWND window, int id) {
    // Direct children first: controls inside others (a time picker's spin
    // buttons) may reuse small identifiers.
    if (HWND direct = GetDlgItem(window, id)) return direct;
    TSearch search{id, {}};
    EnumChildWindows(window, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND ChildByText(HWND window, const std::u16string& text) {
    TSearch search{0, Wide(text)};
    EnumChildWindows(window, MatchText, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::pair<int, int> ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

std::u16string FontFace(HWND control) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW description{};
    if (!font || !GetObjectW(font, sizeof(description), &description)) return u"";
    return std::u16string(description.lfFaceName, description.lfFaceName + wcslen(description.lfFaceName));
}

std::vector<std::u16string> ComboItems(HWND combo) {
    std::vector<std::u16string> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        items.emplace_back(text.begin(), text.end());
    }
    return items;
}

int ComboIndex(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

void ChooseComboItem(HWND combo, int index) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void PostClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TypeText(HWND edit, const std::u16string& text) {
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void PressKey(HWND control, WORD key) {
    const DWORD owner = GetWindowThreadProcessId(control, nullptr);
    // Focus is the window thread's input state: share it for the moment.
    AttachThreadInput(GetCurrentThreadId(), owner, TRUE);
    SetFocus(control);
    AttachThreadInput(GetCurrentThreadId(), owner, FALSE);
    GUITHREADINFO focus{};
    focus.cbSize = sizeof(focus);
    GetGUIThreadInfo(owner, &focus);
    HWND target = focus.hwndFocus ? focus.hwndFocus : control;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scan | 1);
    PostMessageW(target, WM_KEYUP, key, scan | 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

std::u16string ListViewText(HWND list, int row, int column) {
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return std::u16string(buffer, buffer + wcslen(buffer));
}

bool Screenshot(const std::string& name) {
    const char* folder = std::getenv("WQ_UI_ARTEFACTS");
    const char* prefix = std::getenv("WQ_UI_PREFIX");
    if (!folder || !*folder) return true;
    Sleep(400);  // let the last change paint
    const std::string base = std::string(folder) + "\\" + (prefix ? prefix : "") + name;
    if (FILE* request = std::fopen((base + ".request").c_str(), "w")) std::fclose(request);
    const std::string done = base + ".done";
    const bool made = WaitFor([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000);
    DeleteFileA(done.c_str());
    return made;
}

namespace {

// Whatever the script left open is closed, innermost first, so that the test
// thread gets out of the library's modal loops even after a failure.
void CloseLeftovers() {
    const wchar_t* captions[] = {L"Ошибка", L"Имя оператора", L"Дополнительные настройки", L"Просмотр лога",
                                L"Справка"};
    WaitFor([&] {
        bool open = false;
        for (const wchar_t* caption : captions) {
            if (HWND window = FindWindowW(nullptr, caption)) {
                open = true;
                PostMessageW(window, WM_CLOSE, 0, 0);
                break;
            }
        }
        return !open;
    }, 10000);
}

}  // namespace

TProbe::TProbe(std::function<void(TProbe&)> script) : FThread([this, script = std::move(script)] {
    try {
        script(*this);
    } catch (const std::exception& e) {
        Check(false, std::string("the script raised: ") + e.what());
    }
    CloseLeftovers();
}) {}

TProbe::~TProbe() {
    if (FThread.joinable()) FThread.join();
}

std::vector<std::string> TProbe::Finish() {
    if (FThread.joinable()) FThread.join();
    return FFailures;
}

void TProbe::Check(bool condition, const std::string& what) {
    if (!condition) FFailures.push_back(what);
}

std::string Joined(const std::vector<std::string>& failures) {
    std::string text;
    for (const std::string& failure : failures) text += failure + "\n";
    return text;
}

THostWindow::THostWindow() {
    FHandle = CreateWindowExW(0, L"STATIC", L"Хост", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 120, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(FHandle);
}

THostWindow::~THostWindow() { DestroyWindow(FHandle); }

}  // namespace ui_tests
