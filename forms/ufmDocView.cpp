#include "forms/ufmDocView.h"

#include "common/uPaths.h"
#include "help/uHelpFiles.h"
#include "help/uMarkdownRenderer.h"
#include "lib/cf/Exception.h"

namespace forms {

namespace {

// Without the trailing separator.
std::u16string FolderOf(const std::u16string& file) {
    const std::size_t name = file.size() - common::ExtractFileName(file).size();
    return file.substr(0, name > 0 ? name - 1 : 0);
}

std::u16string ReadDocumentText(const std::u16string& folder) {
    return help::DecodeText(help::ReadFileBytes(folder + common::PathDelim() + help::FindMarkdownFile(folder)));
}

}  // namespace

TDocViewPresenter::TDocViewPresenter(const std::u16string& AHtmlFilePath, const std::u16string& ACaption,
                                     IDocViewSystem& ASystem)
    : FWorkFolder(FolderOf(AHtmlFilePath)), FSystem(ASystem) {
    try {
        FState.Caption = ACaption;
        FState.PageFile = AHtmlFilePath;
        if (FSystem.HasHtmlEngine()) return;
        FState.Mode = TDocViewMode::dvText;
        FState.DocumentText = ReadDocumentText(FWorkFolder);
        FState.OpenButtonCaption = u"Открыть в браузере";
    } catch (...) {
        Closed();
        throw;
    }
}

TDocViewPresenter::~TDocViewPresenter() { Closed(); }

std::u16string TDocViewPresenter::OpenInBrowserClicked() {
    try {
        FSystem.OpenInSystemBrowser(FState.PageFile);
        return {};
    } catch (...) {
        return cf::CurrentExceptionMessage();
    }
}

void TDocViewPresenter::Closed() {
    if (!FWorkFolder.empty()) help::RemoveFolderTree(FWorkFolder);
}

}  // namespace forms
