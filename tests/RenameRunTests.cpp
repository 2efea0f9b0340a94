#include <algorithm>

#include "app/resource.h"
#include "model/Mp3File.h"
#include "rename/NameFormat.h"
#include "support/GuiTest.h"
#include "support/TestFiles.h"

namespace {

class RenameRunTest : public TrackListFixture
{
protected:
    CNameFormat format{"[title]-[artist].mp3"};

    void SetUp() override
    {
        TrackListFixture::SetUp();
        format.CompileFormat();
    }
    void SelectAll()
    {
        for (int row = 0; row < list.GetItemCount(); ++row)
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    // A File Name cell edited as the editor hands it over.
    void EditName(int row, const std::string& text)
    {
        const std::string old = list.GetItemText(row, 0);
        list.SetItemText(row, 0, text);
        list.PostRenameCell(row, old, text);
        PumpMessages();
    }
};

} // namespace

TEST_F(RenameRunTest, MixedRunRenamesCountsAndLeavesSkippedRowsSelected)
{
    CreateDirectoryA((dir / "sub").c_str(), nullptr);
    list.AddFiles({
        Song("song1.mp3", "T1", "A1"),         // 0 renamed
        Song("T2-A2.mp3", "T2", "A2"),         // 1 already named
        Song("t3-a3.mp3", "T3", "A3"),         // 2 letter case only: renamed
        Song("dup.mp3", "T1", "A1"),           // 3 builds row 0's new name: exists
        Song("empty.mp3", "", ""),             // 4 nothing to build from: skipped
        Song("up.mp3", "..\\x", ""),           // 5 would leave the folder: skipped
        Song("odd.mp3", "a?b", "c"),           // 6 a character no name may hold: skipped
        Song("meets.mp3", "Other", "X"),       // 7 a file outside the list has the name: exists
        Song("into.mp3", "sub\\In", "Sub"),    // 8 into an existing subfolder: renamed
        Song("nowhere.mp3", "nosub\\X", "Y"),  // 9 missing subfolder: skipped
        Song("held.mp3", "Held", "H"),         // 10 open elsewhere: skipped
        Song("gone.mp3", "Gone", "G"),         // 11 deleted after loading: skipped
        Song("free.mp3", "Free", "F"),         // 12 not selected: untouched
    });
    Song("Other-X.mp3", "other", "x");
    DeleteFileA((dir / "gone.mp3").c_str());
    SelectAll();
    list.SetItemState(12, 0, LVIS_SELECTED);
    const unsigned long long dupHash = HashPrefix(dir / "dup.mp3", ~0u);
    const unsigned long long otherHash = HashPrefix(dir / "Other-X.mp3", ~0u);

    RenameRun run;
    {
        HANDLE held = CreateFileA((dir / "held.mp3").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        run = list.RenameSelected(format);
        CloseHandle(held);
    }
    EXPECT_EQ(std::vector<int>(run.counts, run.counts + 4), (std::vector<int>{6, 1, 3, 2})); // by RenameOutcome
    EXPECT_EQ(Listing(dir.Path()), (Texts{"Other-X.mp3", "T1-A1.mp3", "T2-A2.mp3", "T3-A3.mp3",
                                                             "dup.mp3", "empty.mp3", "free.mp3", "held.mp3",
                                                             "meets.mp3", "nowhere.mp3", "odd.mp3", "sub", "up.mp3"}));
    EXPECT_EQ(Listing(dir / "sub\\"), (Texts{"In-Sub.mp3"}));
    EXPECT_EQ(HashPrefix(dir / "dup.mp3", ~0u), dupHash);
    EXPECT_EQ(HashPrefix(dir / "Other-X.mp3", ~0u), otherHash);

    const std::vector<std::string> cells = {"T1-A1.mp3", "T2-A2.mp3", "T3-A3.mp3", "dup.mp3", "empty.mp3",
                                            "up.mp3", "odd.mp3", "meets.mp3", "sub\\In-Sub.mp3", "nowhere.mp3",
                                            "held.mp3", "gone.mp3", "free.mp3"};
    const std::vector<bool> selected = {false, false, false, true, true, true, true, true, false, true, true, true, false};
    for (int row = 0; row < 13; ++row) {
        EXPECT_EQ(list.GetItemText(row, 0), cells[row]) << row;
        EXPECT_EQ(Selected(row), selected[row]) << row;
        EXPECT_FALSE(list.GetTrack(row)->IsModified()) << row;
    }
    EXPECT_EQ(list.GetTrack(0)->GetPath(), dir / "T1-A1.mp3");
    EXPECT_EQ(list.GetTrack(2)->GetPath(), dir / "T3-A3.mp3");
    EXPECT_EQ(list.GetTrack(8)->GetPath(), dir / "sub\\In-Sub.mp3");
    EXPECT_EQ(list.GetTrack(3)->GetPath(), dir / "dup.mp3");
    EXPECT_EQ(list.GetItemText(0, 1), "T1"); // other cells stay
}

// The command asks first, renames by the format set under Options and shows one summary.
TEST_F(RenameRunTest, RenameCommandUsesTheOptionsFormatAndShowsOneSummary)
{
    list.AddFiles({Song("a.mp3", "T", "A"), Song("b.mp3", "U", "B"), Song("c.mp3", "", "")});
    view.FormatDlg().SetFormat("[artist] [title].mp3");
    SelectAll();
    boxes.Answer({IDYES, IDOK});
    Command(ID_FILE_RENAME);
    EXPECT_EQ(boxes.ShownTexts(), (Texts{shown::CONFIRM_RENAME, shown::RenameSummary(2, 0, 0, 1)}));
    EXPECT_EQ(boxes.Shown()[1].type, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
    EXPECT_EQ(Listing(dir.Path()), (Texts{"A T.mp3", "B U.mp3", "c.mp3"}));
    EXPECT_TRUE(!Selected(0) && !Selected(1) && Selected(2));
    EXPECT_EQ(GetFocus(), list.m_hWnd);
}

// A File Name edit asks once, then renames; a refused name is reported and the old text comes
// back; No leaves the old name.
TEST_F(RenameRunTest, CellEditRenamesAfterAskingOnce)
{
    CreateDirectoryA((dir / "other").c_str(), nullptr);
    list.AddFiles({Song("a.mp3", "a"), Song("b.mp3", "b"), Song("c.mp3", "c")});
    struct Case { int row; std::string typed; bool yes, done; std::string path; };
    const Case cases[] = {
        {0, "first.mp3", true, true, "first.mp3"}, {1, dir / "other\\moved.mp3", true, true, "other\\moved.mp3"},
        {2, "C.mp3", true, true, "C.mp3"}, {2, "declined.mp3", false, false, "C.mp3"},
        {0, "C.mp3", true, false, "first.mp3"}, {0, "", true, false, "first.mp3"}, {0, "bad?.mp3", true, false, "first.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::string before = list.GetItemText(c.row, 0);
        const bool done = c.done;
        boxes.Clear();
        boxes.Answer(c.yes ? IDYES : IDNO);
        if (c.yes && !done)
            boxes.Answer(IDOK);
        EditName(c.row, c.typed);
        EXPECT_EQ(boxes.ShownTexts(), done || !c.yes ? Texts{shown::CONFIRM_RENAME_ONE}
                                                     : (Texts{shown::CONFIRM_RENAME_ONE, shown::RENAME_FAILED}));
        EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(boxes.Shown().back().type, static_cast<UINT>(done || !c.yes ? MB_YESNO | MB_ICONQUESTION : MB_ICONEXCLAMATION | MB_OK));
        EXPECT_EQ(list.GetItemText(c.row, 0), done ? c.typed : before);
        EXPECT_EQ(list.GetTrack(c.row)->GetPath(), dir / c.path);
    }
    EXPECT_EQ(Listing(dir.Path()), (Texts{"C.mp3", "first.mp3", "other"}));
    EXPECT_EQ(Listing(dir / "other\\"), Texts{"moved.mp3"});
}

// A File Name request follows its file when the rows move, and is dropped when its row goes
// or its cell changed again before it is handled.
TEST_F(RenameRunTest, CellRenamesFollowTheirFileAndStaleOnesDoNothing)
{
    list.AddFiles({Song("a.mp3", "zz"), Song("b.mp3", "aa"), Song("c.mp3", "c")});
    list.SetItemText(0, 0, "renamed.mp3");
    list.PostRenameCell(0, "a.mp3", "renamed.mp3");
    CMp3File* edited = list.GetTrack(0);
    list.SetItemText(2, 0, "x.mp3");
    list.PostRenameCell(2, "c.mp3", "x.mp3");
    list.RemoveTrack(2);
    list.SetItemText(1, 0, "y.mp3");
    list.PostRenameCell(1, "b.mp3", "y.mp3");
    list.SetItemText(1, 0, "b.mp3");
    CTrackListCtrl::s_sortColumn = -1;
    ClickHeader(1); // by title: the edited file moves to row 1
    ASSERT_EQ(list.GetTrack(1), edited);

    boxes.Answer(IDYES);
    PumpMessages();
    EXPECT_EQ(boxes.ShownTexts(), Texts{shown::CONFIRM_RENAME_ONE});
    EXPECT_EQ(edited->GetPath(), dir / "renamed.mp3");
    EXPECT_EQ(Listing(dir.Path()), (Texts{"b.mp3", "c.mp3", "renamed.mp3"}));
}
