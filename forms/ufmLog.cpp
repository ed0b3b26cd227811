#include "forms/ufmLog.h"

#include <algorithm>

#include "lib/cf/TextUtils.h"

namespace forms {

namespace {

// Enough of the shown file's end to notice that it was rewritten rather than appended to.
constexpr std::size_t kTailCheckSize = 4096;

bool IsLogFileName(const std::u16string& name) {
    const std::size_t dot = name.rfind(u'.');
    return dot != std::u16string::npos && cf::SameText(std::u16string_view(name).substr(dot), u".log");
}

bool LessIgnoringCase(const std::u16string& a, const std::u16string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
        return cf::FoldCase(x) < cf::FoldCase(y);
    });
}

}  // namespace

TfrmLog::TfrmLog(ILogFiles& AFiles, IShell& AShell) : FLogFiles(AFiles), FShell(AShell) {}

TLogTextUpdate TfrmLog::FormCreate() {
    FLogDirectory = FLogFiles.LogFolder();
    FillFileList();
    if (!FItems.empty()) FItemIndex = static_cast<int>(FItems.size()) - 1;
    return LoadSelected(false);
}

void TfrmLog::cbbLogFilesDropDown() { FillFileList(); }

TLogTextUpdate TfrmLog::cbbLogFilesChange(int AIndex) {
    FItemIndex = AIndex >= 0 && AIndex < static_cast<int>(FItems.size()) ? AIndex : -1;
    return LoadSelected(false);
}

TLogTextUpdate TfrmLog::tmrCheckFileTimer() {
    if (FItemIndex < 0) return {};
    const std::optional<TFileStamp> stamp = FLogFiles.Stamp(SelectedPath());
    if (!stamp) return {};
    // The size too: two writes within the file system's time resolution keep the time.
    const bool changed = FLogLastWriteTime < stamp->LastWriteTime || SelectedPath() != FShownPath ||
                         stamp->Size != FShownSize;
    return changed ? LoadSelected(true) : TLogTextUpdate{};
}

void TfrmLog::btnOpenDirClick() { FShell.Explore(FLogFiles.LogFolder()); }

void TfrmLog::FillFileList() {
    FItems.clear();
    FItemIndex = -1;
    for (std::u16string& name : FLogFiles.EntryNames(FLogDirectory))
        if (IsLogFileName(name)) FItems.push_back(std::move(name));
    std::sort(FItems.begin(), FItems.end(), LessIgnoringCase);
}

std::u16string TfrmLog::SelectedPath() const {
    return FItemIndex < 0 ? std::u16string() : FLogDirectory + FItems[static_cast<std::size_t>(FItemIndex)];
}

TLogTextUpdate TfrmLog::LoadSelected(bool AKeepCaret) {
    if (FItemIndex < 0) return {};
    const std::u16string path = SelectedPath();
    // A failed look or read keeps the time, so the next tick tries again.
    const std::optional<TFileStamp> stamp = FLogFiles.Stamp(path);
    if (!stamp) return {};
    std::string growth;
    if (ReadGrowth(path, growth)) {
        FLogLastWriteTime = stamp->LastWriteTime;
        return Loaded(growth, TLogTextUpdate::TKind::Append, AKeepCaret);
    }
    const std::optional<std::string> bytes = FLogFiles.ReadFrom(path, 0);
    if (!bytes) return {};
    FLogLastWriteTime = stamp->LastWriteTime;
    FShownPath = path;
    FShownSize = 0;
    FShownTail.clear();
    FDecoder.Reset();
    return Loaded(*bytes, TLogTextUpdate::TKind::Replace, AKeepCaret);
}

bool TfrmLog::ReadGrowth(const std::u16string& APath, std::string& AGrowth) {
    if (APath != FShownPath || FShownSize == 0) return false;
    const uint64_t checked = FShownTail.size();
    const std::optional<std::string> bytes = FLogFiles.ReadFrom(APath, FShownSize - checked);
    if (!bytes || bytes->size() < checked || bytes->compare(0, checked, FShownTail) != 0) return false;
    AGrowth = bytes->substr(checked);
    return true;
}

TLogTextUpdate TfrmLog::Loaded(const std::string& ABytes, TLogTextUpdate::TKind AKind, bool AKeepCaret) {
    FShownSize += ABytes.size();
    FShownTail += ABytes.substr(ABytes.size() - std::min(ABytes.size(), kTailCheckSize));
    if (FShownTail.size() > kTailCheckSize) FShownTail.erase(0, FShownTail.size() - kTailCheckSize);
    TLogTextUpdate update;
    update.Text = FDecoder.Decode(ABytes);
    update.Kind = AKind == TLogTextUpdate::TKind::Append && update.Text.empty() ? TLogTextUpdate::TKind::None : AKind;
    update.KeepCaret = AKeepCaret;
    return update;
}

}  // namespace forms
