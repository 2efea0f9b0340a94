#include <algorithm>

#include "app/resource.h"
#include "model/Mp3File.h"
#include "rename/NameFormat.h"
#include "support/GuiTest.h"
#include "support/TestFiles.h"

namespace {

const char* const SUMMARY =
    "Rename Complete:\n\t %d files renamed.\n\t %d files already named. \n\t %d files skipped because new "
    "file name already exists. \n\t %d files skipped because there was not enough\n\t     information or "
    "other errors occurred. \n\nThe skipped files will be highlighted.";

std::string Summary(int renamed, int named, int exists, int skipped)
{
    char text[512];
    snprintf(text, sizeof text, SUMMARY, renamed, named, exists, skipped);
    return text;
}

// Records each move and can make one of them fail.
class CRecordingMoves : public CDiskOps
{
public:
    bool MoveWithoutReplacing(const char* from, const char* to) const override
    {
        const int index = static_cast<int>(moves.size());
        moves.emplace_back(from, to);
        if (index == failAt || (failFrom >= 0 && index >= failFrom)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        return CDiskOps::MoveWithoutReplacing(from, to);
    }
    mutable std::vector<std::pair<std::string, std::string>> moves;
    int failAt = -1;   // this move fails
    int failFrom = -1; // this move and every later one fail
};

class RenameRunTest : public TrackListFixture
{
protected:
    RenameRunTest() : TrackListFixture(disk) {}
    static CRecordingMoves disk;

    CNameFormat format{"[title]-[artist].mp3"};

    void SetUp() override
    {
        TrackListFixture::SetUp();
        format.CompileFormat();
    }

    std::string Song(const std::string& name, const std::string& title, const std::string& artist)
    {
        const std::string path = dir / name;
        WriteMp3(path, 1, TagBytes().Put(TITLE, title).Put(ARTIST, artist));
        return path;
    }
    void SelectAll()
    {
        for (int row = 0; row < list.GetItemCount(); ++row)
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    bool Selected(int row) const { return list.GetItemState(row, LVIS_SELECTED) != 0; }
    void ExpectCounts(const RenameRun& run, int renamed, int named, int exists, int skipped)
    {
        EXPECT_EQ(std::vector<int>(run.counts, run.counts + 4), (std::vector<int>{skipped, named, renamed, exists}));
    }
};
CRecordingMoves RenameRunTest::disk;

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
    ExpectCounts(run, 3, 1, 2, 6);
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"Other-X.mp3", "T1-A1.mp3", "T2-A2.mp3", "T3-A3.mp3",
                                                             "dup.mp3", "empty.mp3", "free.mp3", "held.mp3",
                                                             "meets.mp3", "nowhere.mp3", "odd.mp3", "sub", "up.mp3"}));
    EXPECT_EQ(Listing(dir / "sub\\"), (std::vector<std::string>{"In-Sub.mp3"}));
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
    boxes.Answer(IDNO);
    SelectAll();
    view.SendMessage(WM_COMMAND, ID_FILE_RENAME);
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(boxes.Shown()[0].text, "Are you sure you want to permenantly rename selected files?");

    boxes.Answer(IDYES);
    boxes.Answer(IDOK);
    view.SendMessage(WM_COMMAND, ID_FILE_RENAME);
    ASSERT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(boxes.Shown()[2].text, Summary(2, 0, 0, 1));
    EXPECT_EQ(boxes.Shown()[2].type, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"A T.mp3", "B U.mp3", "c.mp3"}));
    EXPECT_TRUE(!Selected(0) && !Selected(1) && Selected(2));
    EXPECT_EQ(GetFocus(), list.m_hWnd);
}

TEST_F(RenameRunTest, EmptyUnsafeAndAlreadyNamedRowsNeverTouchTheDisk)
{
    list.AddFiles({Song("e.mp3", "", ""), Song("u.mp3", "a\\..\\..\\x", "y"), Song("T-A.mp3", "T", "A"),
                   Song("c.mp3", "C:", "x")});
    SelectAll();
    disk.moves.clear();
    ExpectCounts(list.RenameSelected(format), 0, 1, 0, 3);
    EXPECT_TRUE(disk.moves.empty());
}

TEST_F(RenameRunTest, FailedCaseOnlyRenameKeepsTheOldNameAndTheError)
{
    list.AddFiles({Song("t-a.mp3", "T", "A")});
    CMp3File* track = list.GetTrack(0);
    disk.moves.clear();
    disk.failAt = 1; // the move from the temporary name to the new one
    EXPECT_FALSE(list.Tracks().RenameTo(*track, "T-A.mp3"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(track->GetPath(), dir / "t-a.mp3");
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"t-a.mp3"}));
    ASSERT_EQ(disk.moves.size(), 3u); // there, failed onward, back
    EXPECT_EQ(disk.moves[2].second, dir / "t-a.mp3");

    // When even the way back fails, the record follows the file to its temporary name.
    disk.moves.clear();
    disk.failAt = -1;
    disk.failFrom = 1;
    EXPECT_FALSE(list.Tracks().RenameTo(*track, "T-A.mp3"));
    EXPECT_EQ(track->GetPath(), disk.moves[0].second);
    EXPECT_TRUE(FileExists(track->GetPath()));
    disk.failFrom = -1;
}

TEST_F(RenameRunTest, CellEditRenamesAfterAskingOnce)
{
    CreateDirectoryA((dir / "other").c_str(), nullptr);
    list.AddFiles({Song("a.mp3", "a", ""), Song("b.mp3", "b", ""), Song("c.mp3", "c", "")});
    auto edit = [this](int row, const std::string& text) {
        const std::string old = list.GetItemText(row, 0);
        list.SetItemText(row, 0, text);
        list.PostRenameCell(row, old, text);
        PumpMessages();
    };

    boxes.Answer(IDYES);
    edit(0, "first.mp3");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Are you sure you want to rename this file? This action is permanent.");
    EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(list.GetTrack(0)->GetPath(), dir / "first.mp3");
    EXPECT_EQ(list.GetItemText(0, 0), "first.mp3");

    boxes.Answer(IDYES);
    edit(1, dir / "other\\moved.mp3");
    EXPECT_EQ(list.GetTrack(1)->GetPath(), dir / "other\\moved.mp3");
    EXPECT_TRUE(FileExists(dir / "other\\moved.mp3"));

    boxes.Answer(IDYES);
    edit(2, "C.mp3");
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"C.mp3", "first.mp3", "other"}));

    boxes.Answer(IDNO);
    edit(2, "declined.mp3");
    EXPECT_EQ(list.GetItemText(2, 0), "C.mp3");
    EXPECT_EQ(list.GetTrack(2)->GetPath(), dir / "C.mp3");
}

TEST_F(RenameRunTest, FailedCellRenameShowsWhyAndPutsTheOldTextBack)
{
    list.AddFiles({Song("a.mp3", "a", ""), Song("b.mp3", "b", "")});
    for (const std::string& typed : {std::string("b.mp3"), std::string(""), std::string("bad?.mp3")}) {
        boxes.Clear();
        boxes.Answer(IDYES);
        boxes.Answer(IDOK);
        list.SetItemText(0, 0, typed);
        list.PostRenameCell(0, "a.mp3", typed);
        PumpMessages();
        ASSERT_EQ(boxes.Shown().size(), 2u) << typed;
        EXPECT_EQ(boxes.Shown()[1].text,
                  "File could not be renamed. Make sure a file with the same name does not already exist.");
        EXPECT_EQ(boxes.Shown()[1].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
        EXPECT_EQ(list.GetItemText(0, 0), "a.mp3");
        EXPECT_EQ(list.GetTrack(0)->GetPath(), dir / "a.mp3");
    }
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"a.mp3", "b.mp3"}));
}

TEST_F(RenameRunTest, StaleCellRenamesDoNothing)
{
    list.AddFiles({Song("a.mp3", "a", ""), Song("b.mp3", "b", ""), Song("c.mp3", "c", "")});

    // The row goes before the request is handled.
    list.SetItemText(1, 0, "x.mp3");
    list.PostRenameCell(1, "b.mp3", "x.mp3");
    list.RemoveTrack(1);
    // The cell changed again before the request is handled.
    list.SetItemText(0, 0, "y.mp3");
    list.PostRenameCell(0, "a.mp3", "y.mp3");
    list.SetItemText(0, 0, "a.mp3");
    PumpMessages();

    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
}

TEST_F(RenameRunTest, CellRenameFollowsItsFileWhenRowsMove)
{
    list.AddFiles({Song("a.mp3", "zz", ""), Song("b.mp3", "aa", "")});
    list.SetItemText(0, 0, "renamed.mp3");
    list.PostRenameCell(0, "a.mp3", "renamed.mp3");
    CMp3File* edited = list.GetTrack(0);
    CTrackListCtrl::s_sortColumn = -1;
    ClickHeader(1); // by title: the edited file moves to row 1
    ASSERT_EQ(list.GetTrack(1), edited);

    boxes.Answer(IDYES);
    PumpMessages();
    EXPECT_EQ(edited->GetPath(), dir / "renamed.mp3");
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"b.mp3", "renamed.mp3"}));
}
