#include <gtest/gtest.h>

#include "forms/ufmLog.h"
#include "lib/cf/TextUtils.h"
#include "tests/unit/forms/FormFakes.h"

using forms::TLogTextUpdate;
using Kind = forms::TLogTextUpdate::TKind;

namespace {

class LogViewer : public ::testing::Test {
protected:
    // What the text control shows after the update.
    TLogTextUpdate Apply(TLogTextUpdate update) {
        if (update.Kind == Kind::Replace) shown = update.Text;
        if (update.Kind == Kind::Append) shown += update.Text;
        return update;
    }

    forms_tests::FakeLogFiles files;
    forms_tests::FakeShell shell;
    forms::TfrmLog window{files, shell};
    std::u16string shown;
};

constexpr char16_t kDay6[] = u"w_quorlan7t4p_2026.12.06.log";
constexpr char16_t kDay7[] = u"w_quorlan7t4p_2026.12.07.log";

TEST_F(LogViewer, ListsLogFilesSortedAndShowsTheNewest) {
    files.Write(kDay7, "day 7\r\n");
    files.Write(u"notes.txt", "not a log");
    files.Write(kDay6, "day 6\r\n");
    files.Write(u"archive.log.zip", "not a log either");
    EXPECT_EQ(Apply(window.FormCreate()).Kind, Kind::Replace);
    EXPECT_EQ(window.Files(), (std::vector<std::u16string>{kDay6, kDay7}));
    EXPECT_EQ(window.ItemIndex(), 1);
    EXPECT_EQ(shown, u"day 7\r\n");
    EXPECT_EQ(window.LogDirectory(), u"/logs/");
}

TEST_F(LogViewer, ExtensionAndOrderIgnoreLetterCase) {
    files.Write(u"X.LOG", "x");
    files.Write(u"a.Log", "a");
    files.Write(u"B.log", "b");
    Apply(window.FormCreate());
    EXPECT_EQ(window.Files(), (std::vector<std::u16string>{u"a.Log", u"B.log", u"X.LOG"}));
    EXPECT_EQ(shown, u"x");
}

TEST_F(LogViewer, EmptyOrMissingFolderShowsNothingAndTheTimerRests) {
    files.Folder = u"/missing/";
    EXPECT_EQ(window.FormCreate().Kind, Kind::None);
    EXPECT_TRUE(window.Files().empty());
    EXPECT_EQ(window.ItemIndex(), -1);
    EXPECT_EQ(window.tmrCheckFileTimer().Kind, Kind::None);
}

TEST_F(LogViewer, GrowthIsAppendedWithTheCaretKept) {
    files.Write(kDay7, "line 1\r\n");
    Apply(window.FormCreate());
    EXPECT_EQ(window.tmrCheckFileTimer().Kind, Kind::None);  // nothing changed

    files.Append(kDay7, "line 2\r\n");
    const TLogTextUpdate update = Apply(window.tmrCheckFileTimer());
    EXPECT_EQ(update.Kind, Kind::Append);
    EXPECT_EQ(update.Text, u"line 2\r\n");
    EXPECT_TRUE(update.KeepCaret);
    EXPECT_EQ(shown, u"line 1\r\nline 2\r\n");
    EXPECT_EQ(window.tmrCheckFileTimer().Kind, Kind::None);
}

TEST_F(LogViewer, GrowthWithinTheSameTimeIsNoticedBySize) {
    files.Write(kDay7, "a\r\n");
    Apply(window.FormCreate());
    files.Files[kDay7] += "b\r\n";  // the file system kept the time
    Apply(window.tmrCheckFileTimer());
    EXPECT_EQ(shown, u"a\r\nb\r\n");
}

TEST_F(LogViewer, ARewrittenFileIsShownWhole) {
    files.Write(kDay7, "old text that is long\r\n");
    Apply(window.FormCreate());
    files.Write(kDay7, "new text that is longer\r\nand more\r\n");
    EXPECT_EQ(Apply(window.tmrCheckFileTimer()).Kind, Kind::Replace);
    EXPECT_EQ(shown, u"new text that is longer\r\nand more\r\n");
    files.Write(kDay7, "short\r\n");
    EXPECT_EQ(Apply(window.tmrCheckFileTimer()).Kind, Kind::Replace);
    EXPECT_EQ(shown, u"short\r\n");
}

TEST_F(LogViewer, CyrillicIsDecodedOnceAcrossPieces) {
    const std::string whole = cf::ToUtf8(u"Запись 1: Ошибка\r\nЗапись 2: ёлка\r\n");
    files.Write(kDay7, whole.substr(0, 5));  // ends inside "а"
    Apply(window.FormCreate());
    for (std::size_t cut : {std::size_t{11}, std::size_t{12}, std::size_t{20}, whole.size()}) {
        files.Write(kDay7, whole.substr(0, cut));
        Apply(window.tmrCheckFileTimer());
    }
    EXPECT_EQ(shown, cf::FromUtf8(whole));
}

TEST_F(LogViewer, DropDownClearsTheChoiceAndStopsFollowing) {
    files.Write(kDay6, "6");
    files.Write(kDay7, "7");
    Apply(window.FormCreate());
    files.Write(u"w_quorlan7t4p_2026.12.08.log", "8");
    window.cbbLogFilesDropDown();
    EXPECT_EQ(window.Files().size(), 3u);  // the new day appears
    EXPECT_EQ(window.ItemIndex(), -1);
    files.Append(kDay7, " more");
    EXPECT_EQ(window.tmrCheckFileTimer().Kind, Kind::None);
    EXPECT_EQ(shown, u"7");  // the text stays

    Apply(window.cbbLogFilesChange(0));
    EXPECT_EQ(shown, u"6");
    Apply(window.cbbLogFilesChange(1));
    EXPECT_EQ(shown, u"7 more");
}

TEST_F(LogViewer, AFailedLoadKeepsTheTextAndTriesAgain) {
    files.Write(kDay7, "first\r\n");
    Apply(window.FormCreate());
    files.Append(kDay7, "second\r\n");
    files.FailReads = 2;  // the growth read and the whole read
    EXPECT_EQ(Apply(window.tmrCheckFileTimer()).Kind, Kind::None);
    EXPECT_EQ(shown, u"first\r\n");
    Apply(window.tmrCheckFileTimer());
    EXPECT_EQ(shown, u"first\r\nsecond\r\n");
}

TEST_F(LogViewer, AVanishedFileIsSkipped) {
    files.Write(kDay7, "text");
    Apply(window.FormCreate());
    files.Files.erase(kDay7);
    EXPECT_EQ(window.tmrCheckFileTimer().Kind, Kind::None);
    EXPECT_EQ(shown, u"text");
}

TEST_F(LogViewer, FolderButtonExploresTheLogFolderAskedAgain) {
    window.FormCreate();
    files.Folder = u"/elsewhere/";
    window.btnOpenDirClick();
    EXPECT_EQ(shell.Explored, (std::vector<std::u16string>{u"/elsewhere/"}));
}

}  // namespace
