// The log viewer "Просмотр лога": the files of the log folder, one of them
// shown read-only and followed while it grows. The window's state and rules;
// the views only show them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/uFormServices.h"
#include "forms/uUtf8Stream.h"

namespace forms {

// What a load asks of the text control.
struct TLogTextUpdate {
    enum class TKind { None, Replace, Append };
    TKind Kind = TKind::None;
    std::u16string Text;
    // A reload by the timer keeps the caret where the user left it and focuses the text.
    bool KeepCaret = false;
};

class TfrmLog {
public:
    TfrmLog(ILogFiles& AFiles, IShell& AShell);

    TLogTextUpdate FormCreate();
    // The list was opened: filled again, nothing selected.
    void cbbLogFilesDropDown();
    TLogTextUpdate cbbLogFilesChange(int AIndex);
    TLogTextUpdate tmrCheckFileTimer();
    void btnOpenDirClick();

    const std::vector<std::u16string>& Files() const { return FItems; }
    // -1: no file selected.
    int ItemIndex() const { return FItemIndex; }
    const std::u16string& LogDirectory() const { return FLogDirectory; }

private:
    void FillFileList();
    std::u16string SelectedPath() const;
    TLogTextUpdate LoadSelected(bool AKeepCaret);
    // The bytes after what is shown, when the file has only grown since.
    bool ReadGrowth(const std::u16string& APath, std::string& AGrowth);
    TLogTextUpdate Loaded(const std::string& ABytes, TLogTextUpdate::TKind AKind, bool AKeepCaret);

    ILogFiles& FLogFiles;
    IShell& FShell;
    std::u16string FLogDirectory;
    std::vector<std::u16string> FItems;
    int FItemIndex = -1;

    // The file shown, how much of it, and its last bytes to tell growth from rewriting.
    std::u16string FShownPath;
    uint64_t FShownSize = 0;
    std::string FShownTail;
    int64_t FLogLastWriteTime = 0;
    TUtf8Stream FDecoder;
};

// Shows the viewer modally on the calling thread and returns when the user
// has closed it; raises cf::Exception when it cannot be shown.
void ViewLogWindow();

}  // namespace forms
