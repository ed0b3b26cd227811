// The help window's rules, apart from any window system: what it shows, how
// it falls back to plain text where the system has no HTML engine, and that
// the help's working folder goes when the window closes. The views (Win32,
// later GTK) draw this state and forward the user's actions.
#pragma once

#include <string>

namespace forms {

// What the window needs from the system.
class IDocViewSystem {
public:
    virtual ~IDocViewSystem() = default;
    // Whether an embedded browser control can show HTML here.
    virtual bool HasHtmlEngine() = 0;
    // Opens the file in the user's own browser; raises cf::Exception when it cannot.
    virtual void OpenInSystemBrowser(const std::u16string& file) = 0;
};

enum class TDocViewMode { dvBrowser, dvText };

struct TDocViewState {
    std::u16string Caption;
    int ClientWidth = 633;
    int ClientHeight = 425;
    TDocViewMode Mode = TDocViewMode::dvBrowser;
    // The page the browser control shows, and the text mode's button opens.
    std::u16string PageFile;
    // Text mode only: the document's Markdown text, shown read-only.
    std::u16string DocumentText;
    std::u16string OpenButtonCaption;
};

class TDocViewPresenter {
public:
    // AHtmlFilePath lies in the help's working folder, which this presenter
    // deletes when the window closes.
    TDocViewPresenter(const std::u16string& AHtmlFilePath, const std::u16string& ACaption, IDocViewSystem& ASystem);
    // A window that never reported its closing still leaves no folder behind.
    ~TDocViewPresenter();
    TDocViewPresenter(const TDocViewPresenter&) = delete;
    TDocViewPresenter& operator=(const TDocViewPresenter&) = delete;

    const TDocViewState& State() const { return FState; }

    // The text mode's button. Answers the message to show in an error box
    // captioned "Ошибка", or empty text when the browser was started.
    std::u16string OpenInBrowserClicked();
    // The user closed the window.
    void Closed();

private:
    TDocViewState FState;
    std::u16string FWorkFolder;
    IDocViewSystem& FSystem;
};

// Shows the page modally with that caption (the view of the platform) and
// returns when the user has closed the window, whose closing removes the
// page's working folder; raises cf::Exception when it cannot be shown.
void ShowDocView(const std::u16string& AHtmlFilePath, const std::u16string& ACaption);

}  // namespace forms
