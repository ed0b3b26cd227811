// The system's web browser control embedded in one of the library's windows:
// the least of an OLE container the control needs to show a local page.
// Use it only on a thread in a single-threaded apartment (OleInitialize).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace forms::win {

// Whether the system has an HTML engine the control can show pages with.
bool HasHtmlEngine() noexcept;

class TBrowserSite;

class TWebBrowser {
public:
    // Fills AParent's client area; raises cf::Exception when the control cannot be made.
    explicit TWebBrowser(HWND AParent);
    ~TWebBrowser();
    TWebBrowser(const TWebBrowser&) = delete;
    TWebBrowser& operator=(const TWebBrowser&) = delete;

    void Navigate(const std::u16string& AFile);
    void Resize(int AWidth, int AHeight);

private:
    std::unique_ptr<TBrowserSite> FSite;
};

}  // namespace forms::win
