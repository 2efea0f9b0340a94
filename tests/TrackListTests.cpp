#include <shlobj.h>

#include <cstring>

#include "dialogs/TagBatchDlg.h"
#include "model/Mp3File.h"
#include "support/DialogDriver.h"
#include "support/GuiTest.h"

namespace {

class TrackListTest : public TrackListFixture
{
protected:
    // Sends one custom-draw stage, as the control does; returns the answer.
    LRESULT CustomDraw(DWORD stage, int row, COLORREF& background)
    {
        NMLVCUSTOMDRAW cd{};
        cd.nmcd.hdr.code = NM_CUSTOMDRAW;
        cd.nmcd.dwDrawStage = stage;
        cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
        cd.clrTextBk = background;
        const LRESULT result = Notify(cd.nmcd.hdr);
        background = cd.clrTextBk;
        return result;
    }
    // Row i shows the collection's record i.
    void ExpectRowsShowTheRecords()
    {
        ASSERT_EQ(static_cast<size_t>(list.GetItemCount()), list.Tracks().Count());
        for (int row = 0; row < list.GetItemCount(); ++row)
            EXPECT_EQ(list.Tracks().At(static_cast<size_t>(row)), list.GetTrack(row)) << row;
    }
};

// A real drop handle holding the given paths, as the shell makes it.
HDROP MakeDrop(const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths)
        size += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    char* text = reinterpret_cast<char*>(drop + 1);
    for (const std::string& path : paths) {
        std::memcpy(text, path.c_str(), path.size() + 1);
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

} // namespace

TEST_F(TrackListTest, ColumnsShareOneEighthOfTheMainWindow)
{
    ASSERT_EQ(list.GetColumnCount(), 8);
    const char* headings[] = {"File Name", "Title", "Artist", "Album", "Genre", "Year", "Track", "Comment"};
    for (int column = 0; column < 8; ++column) {
        char text[32] = "";
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_FMT;
        col.pszText = text;
        col.cchTextMax = sizeof text;
        list.SendMessage(LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&col));
        EXPECT_STREQ(text, headings[column]);
        EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        EXPECT_EQ(list.GetColumnWidth(column), 100) << column; // 803 / 8
    }
    EXPECT_EQ(list.GetExtendedStyle() & LVS_EX_FULLROWSELECT, static_cast<DWORD>(LVS_EX_FULLROWSELECT));

    CTrackListCtrl other;
    ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 7, 100}, host, IDC_TRACKLIST));
    TrackListSetup narrow;
    narrow.widthForColumns = 7;
    other.InitList(narrow);
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(other.GetColumnWidth(column), 0);
}

TEST_F(TrackListTest, CellsShowTheTagAsLoaded)
{
    WriteMp3(dir / "tagged.mp3", 1, TagBytes().Put(TITLE, "Title").Put(ARTIST, "Artist").Put(ALBUM, "Album")
                                        .Put(YEAR, "1999").Put(COMMENT, "Comment").Byte(TRACK, 7).Byte(GENRE, 17));
    WriteMp3(dir / "untagged.mp3", 2);
    WriteMp3(dir / "g200.mp3", 1, TagBytes().Put(TITLE, "x").Byte(GENRE, 200));
    list.AddFiles({dir / "tagged.mp3", dir / "untagged.mp3", dir / "g200.mp3", dir / "missing.mp3"});
    const std::vector<Texts> rows = {
        {"tagged.mp3", "Title", "Artist", "Album", "Rock", "1999", "7", "Comment"},
        {"untagged.mp3", "", "", "", "", "", "", ""},
        {"g200.mp3", "x", "", "", "", "", "", ""}, // genre 200 has no name, track 0 shows nothing
        {"missing.mp3", "", "", "", "", "", "", ""},
    };
    ASSERT_EQ(list.GetItemCount(), 4);
    for (int row = 0; row < 4; ++row) {
        Texts cells;
        for (int column = 0; column < 8; ++column)
            cells.push_back(list.GetItemText(row, column));
        EXPECT_EQ(cells, rows[row]);
    }
}

TEST_F(TrackListTest, EveryRowSharesOneIcon)
{
    // A path too long for the icon request's buffer is loaded without asking for its icon.
    const std::string longPath = dir.Path() + std::string(260, 'x') + ".mp3";
    list.AddFiles({longPath});
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL))), 0);

    list.AddFiles({Song("a.mp3", "a"), Song("b.mp3", "b")});
    const auto images = reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    const int count = ImageList_GetImageCount(images); // the shell's icon, or its plain document icon
    EXPECT_GE(count, 1);
    list.AddFiles({Song("c.mp3", "c")});
    EXPECT_EQ(ImageList_GetImageCount(images), count);
    for (int row = 1; row < 4; ++row) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        list.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(item.iImage, 0);
    }
}

// A drop reaches the view, which loads the files and says once that some were not MP3 files.
TEST_F(TrackListTest, DroppedFilesLoadAndRejectedNamesAreReportedOnce)
{
    list.AddFiles({Song("1.mp3", "one")});
    const std::string longPath = dir.Path() + std::string(255, 'y') + ".mp3";
    boxes.Answer(IDOK);
    list.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({Song("a.mp3", "A"), dir / "b.wav", longPath,
                                                                      dir / "c.txt", Song("c.mp3", "C")})));
    EXPECT_EQ(Column(0), (Texts{"1.mp3", "a.mp3", "c.mp3"}));
    EXPECT_EQ(Column(1), (Texts{"one", "A", "C"}));
    EXPECT_EQ(boxes.ShownTexts(), Texts{shown::INVALID_FILES});
    EXPECT_EQ(boxes.Shown()[0].caption, "Quillfox");
    EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(host.m_fileCounts.back(), 3);

    // Only the long path: skipped without a word.
    list.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({longPath})));
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

// The rows follow the records' order; selection and focus move with their files. Files loaded
// while a sort is in force go to the end, and the next click sorts them in.
TEST_F(TrackListTest, HeaderClicksReorderRowsWithTheirSelectionAndLoadsAppend)
{
    list.AddFiles({Song("b.mp3", "b"), Song("c.mp3", "C"), Song("a.mp3", "a")});
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    CTrackListCtrl::s_sortColumn = -1;
    ClickHeader(1);
    EXPECT_EQ(Column(0), (Texts{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 2);
    ExpectRowsShowTheRecords();

    list.AddFiles({Song("d.mp3", "d"), Song("0.mp3", "0")});
    EXPECT_EQ(Column(1), (Texts{"a", "b", "C", "d", "0"}));
    ExpectRowsShowTheRecords();
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);

    ClickHeader(1);
    EXPECT_EQ(Column(1), (Texts{"d", "C", "b", "a", "0"}));
    EXPECT_EQ(CTrackListCtrl::s_sortAscending, 0);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    ExpectRowsShowTheRecords();
}

TEST_F(TrackListTest, ModifiedRowsArePaintedInTheirColour)
{
    list.AddFiles({Song("a.mp3", "a"), Song("b.mp3", "b")});
    MarkModified(1, "edited");

    COLORREF background = RGB(1, 2, 3);
    EXPECT_EQ(CustomDraw(CDDS_PREPAINT, 0, background), CDRF_NOTIFYITEMDRAW);
    EXPECT_EQ(CustomDraw(CDDS_ITEMPREPAINT, 0, background), CDRF_DODEFAULT);
    EXPECT_EQ(background, RGB(1, 2, 3));
    EXPECT_EQ(CustomDraw(CDDS_ITEMPREPAINT, 1, background), CDRF_DODEFAULT);
    EXPECT_EQ(background, RGB(255, 215, 215));
    background = RGB(1, 2, 3);
    EXPECT_EQ(CustomDraw(CDDS_POSTPAINT, 1, background), 0);
    EXPECT_EQ(background, RGB(1, 2, 3));

    list.WriteTags();
    EXPECT_EQ(CustomDraw(CDDS_ITEMPREPAINT, 1, background), CDRF_DODEFAULT);
    EXPECT_EQ(background, RGB(1, 2, 3));
}

// Rename Selected Files and Write Tag Information ask first; No leaves disk and list alone.
TEST_F(TrackListTest, RenameAndWriteAskFirstAndNoChangesNothing)
{
    list.AddFiles({Song("a.mp3", "T", "A"), Song("b.mp3", "U", "B")});
    MarkModified(1, "edited");
    Select({0, 1});
    const std::vector<unsigned char> before = ReadBytes(dir / "b.mp3");
    const Texts titles = Column(1);
    for (const auto& [command, question] : {std::make_pair(ID_FILE_RENAME, shown::CONFIRM_RENAME),
                                            std::make_pair(ID_FILE_WRITETAGS, shown::CONFIRM_WRITE)}) {
        boxes.Clear();
        boxes.Answer(IDNO);
        Command(command);
        EXPECT_EQ(boxes.ShownTexts(), Texts{question});
        EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(Listing(dir.Path()), (Texts{"a.mp3", "b.mp3"}));
        EXPECT_EQ(ReadBytes(dir / "b.mp3"), before);
        EXPECT_EQ(Column(0), (Texts{"a.mp3", "b.mp3"}));
        EXPECT_EQ(Column(1), titles);
        EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 1}));
        EXPECT_EQ(list.ModifiedTracks().GetCount(), 1u);
    }

    // Yes writes; a file held open elsewhere fails, is reported once and stays modified.
    MarkModified(0, "first");
    boxes.Clear();
    boxes.Answer({IDYES, IDOK});
    HANDLE holder = CreateFileA((dir / "b.mp3").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    Command(ID_FILE_WRITETAGS);
    CloseHandle(holder);
    EXPECT_EQ(boxes.ShownTexts(), (Texts{shown::CONFIRM_WRITE, shown::WriteFailed(1)}));
    EXPECT_EQ(boxes.Shown()[1].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(list.ModifiedTracks().GetCount(), 1u);
    EXPECT_TRUE(list.GetTrack(1)->IsModified());
    EXPECT_EQ(CMp3File(dir / "a.mp3").GetTitle(), "first");
}

// The group edits as the user runs them: the command, a real choice in the real dialog, then
// the cells of the selected rows; the others, and everything after Cancel, stay.
TEST_F(TrackListTest, BatchEditsRunThroughTheirDialogs)
{
    list.AddFiles({Song("a.mp3", "a"), Song("b.mp3", "b"), Song("c.mp3", "c")});
    Texts untouched;
    for (int column = 0; column < 8; ++column)
        untouched.push_back(list.GetItemText(1, column));
    struct Case { UINT id; const char* input; int column; const char* cell; };
    const Case cases[] = {
        {ID_BATCH_GENRE, "Jazz", 4, "Jazz"}, {ID_BATCH_GENRE, "<none>", 4, "Jazz"},
        {ID_BATCH_ARTIST, "Band", 2, "Band"}, {ID_BATCH_ARTIST, nullptr, 2, "Band"}, // Cancel
        {ID_BATCH_COMMENT, "Note", 7, "Note"}, {ID_BATCH_YEAR, "2001", 5, "2001"},
        {ID_BATCH_TRACK, "12a", 6, "12"}, {ID_BATCH_TRACK, "999", 6, "255"}, {ID_BATCH_TRACK, "abc", 6, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input ? c.input : "cancel");
        Select({0, 2});
        CDialogDriver driver;
        driver.Then([&c](HWND d) {
            if (!c.input) {
                PressKey(d, VK_ESCAPE);
            } else if (c.id == ID_BATCH_GENRE) {
                const HWND combo = GetDlgItem(d, IDC_BATCH_GENRE);
                SendMessageA(combo, CB_SETCURSEL, SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                               reinterpret_cast<LPARAM>(c.input)), 0);
                PressKey(d, VK_RETURN);
            } else {
                TypeText(GetDlgItem(d, IDC_BATCH_VALUE), c.input);
                PressKey(d, VK_RETURN);
            }
        });
        Command(c.id);
        EXPECT_EQ(list.GetItemText(0, c.column), c.cell);
        EXPECT_EQ(list.GetItemText(2, c.column), c.cell);
        EXPECT_EQ(list.GetItemText(1, c.column), untouched[c.column]);
        EXPECT_EQ(GetFocus(), list.m_hWnd);
    }
    EXPECT_EQ(list.GetTrack(0)->GetGenre(), 8);
    EXPECT_EQ(list.GetTrack(2)->GetTrack(), 0);
    EXPECT_EQ(list.ModifiedTracks().GetCount(), 2u);
    EXPECT_FALSE(list.GetTrack(1)->IsModified());
}

TEST_F(TrackListTest, RightClickOpensTheContextMenuWithoutChangingTheSelection)
{
    list.AddFiles({Song("a.mp3", "a"), Song("b.mp3", "b")});
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    RECT row{};
    list.GetItemRect(0, row, LVIR_BOUNDS);
    const std::vector<MenuItem> items = ReadPopupMenu([&] {
        list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2));
    }, 0);
    Texts texts;
    std::vector<UINT> ids;
    for (const MenuItem& item : items) {
        texts.push_back(item.text);
        ids.push_back(item.id);
    }
    EXPECT_EQ(texts, (Texts{"Open", "Close", "-", "Rename Files", "-", "Fill From ID3v2 Tag", "Batch-Edit Tag",
                            "  Title", "  Artist", "  Album", "  Genre", "  Year", "  Track", "  Comment"}));
    EXPECT_EQ(ids, (std::vector<UINT>{ID_FILE_OPEN, ID_FILE_CLOSE, 0, ID_FILE_RENAME, 0, ID_EDIT_FILLFROMID3V2, 0, ID_BATCH_TITLE,
                                      ID_BATCH_ARTIST, ID_BATCH_ALBUM, ID_BATCH_GENRE, ID_BATCH_YEAR, ID_BATCH_TRACK,
                                      ID_BATCH_COMMENT}));
    EXPECT_EQ(host.m_commands, (std::vector<UINT>{ID_FILE_OPEN})); // the main window owns the menu
    EXPECT_EQ(list.SelectedRows(), std::vector<int>{1});
}
