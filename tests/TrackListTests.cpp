#include <shlobj.h>

#include <cstring>

#include "app/resource.h"
#include "model/Mp3File.h"
#include "support/GuiTest.h"
#include "support/TestFiles.h"

namespace {

class TrackListTest : public TrackListFixture
{
protected:
    // Writes a tagged file and returns its path.
    std::string Song(const std::string& name, const std::string& title)
    {
        const std::string path = dir / name;
        WriteMp3(path, 1, TagBytes().Put(TITLE, title));
        return path;
    }
    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> cells;
        for (int row = 0; row < list.GetItemCount(); ++row)
            cells.push_back(list.GetItemText(row, column));
        return cells;
    }
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
};

const char* const REJECTED = "One or more files were not valid MP3 files. They were not added.";

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
    EXPECT_EQ(list.GetExtendedStyle(), static_cast<DWORD>(LVS_EX_FULLROWSELECT));
    EXPECT_NE(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL), 0);

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
    const std::string tagged = dir / "tagged.mp3";
    WriteMp3(tagged, 1, TagBytes().Put(TITLE, "Title").Put(ARTIST, "Artist").Put(ALBUM, "Album")
                            .Put(YEAR, "1999").Put(COMMENT, "Comment").Byte(TRACK, 7).Byte(GENRE, 17));
    const std::string untagged = dir / "untagged.mp3";
    WriteMp3(untagged, 2);
    list.AddFiles({tagged, untagged, dir / "zero.mp3", dir / "missing.mp3", tagged, "bare.mp3"});

    ASSERT_EQ(list.GetItemCount(), 6);
    std::vector<std::string> row0;
    for (int column = 0; column < 8; ++column)
        row0.push_back(list.GetItemText(0, column));
    EXPECT_EQ(row0, (std::vector<std::string>{"tagged.mp3", "Title", "Artist", "Album", "Rock", "1999", "7", "Comment"}));
    for (int row : {1, 3, 5}) {
        for (int column = 1; column < 8; ++column)
            EXPECT_EQ(list.GetItemText(row, column), "") << row << "," << column;
    }
    EXPECT_EQ(list.GetItemText(2, 4), "");  // genre 200 has no name
    EXPECT_EQ(list.GetItemText(2, 6), "");  // track 0
    EXPECT_EQ(list.GetItemText(3, 0), "missing.mp3");
    EXPECT_EQ(list.GetItemText(5, 0), "bare.mp3");
    EXPECT_NE(list.GetTrack(0), list.GetTrack(4));
    EXPECT_EQ(list.GetTrack(4)->GetTitle(), "Title");
}

TEST_F(TrackListTest, EveryRowSharesOneIcon)
{
    // A path too long for the icon request's buffer is loaded without asking for its icon.
    const std::string longPath = dir.Path() + std::string(260, 'x') + ".mp3";
    list.AddFiles({longPath});
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL))), 0);

    list.AddFiles({Song("a.mp3", "a"), Song("b.mp3", "b"), Song("c.mp3", "c")});
    const auto images = reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    EXPECT_EQ(ImageList_GetImageCount(images), 1); // the shell's icon, or its plain document icon
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 3;
    list.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 0);
}

// A drop reaches the view, which loads the files and says once that some were not MP3 files.
TEST_F(TrackListTest, DroppedFilesLoadAndRejectedNamesAreReportedOnce)
{
    list.AddFiles({Song("1.mp3", "one")});
    const std::string longPath = dir.Path() + std::string(255, 'y') + ".mp3";
    boxes.Answer(IDOK);
    list.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({Song("a.mp3", "A"), dir / "b.wav", longPath,
                                                                      dir / "c.txt", Song("c.mp3", "C")})));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1.mp3", "a.mp3", "c.mp3"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"one", "A", "C"}));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, REJECTED);
    EXPECT_EQ(boxes.Shown()[0].caption, "Quillfox");
    EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(host.m_fileCounts, (std::vector<int>{1, 3}));

    // Only the long path: skipped without a word.
    list.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({longPath})));
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

// The rows follow the records' order; selection and focus move with their files.
TEST_F(TrackListTest, HeaderClicksReorderRowsWithTheirSelection)
{
    list.AddFiles({Song("b.mp3", "b"), Song("c.mp3", "C"), Song("a.mp3", "a")});
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    CTrackListCtrl::s_sortColumn = -1;
    ClickHeader(1);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 2);
    ClickHeader(1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"C", "b", "a"}));
    EXPECT_EQ(CTrackListCtrl::s_sortAscending, 0);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list.Tracks().At(static_cast<size_t>(row)), list.GetTrack(row));
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

TEST_F(TrackListTest, FailedWritesAreReportedOnceAndStayModified)
{
    list.AddFiles({Song("a.mp3", "a"), Song("b.mp3", "b"), Song("c.mp3", "c")});
    MarkModified(2, "third");
    MarkModified(0, "first");
    const std::string held = dir / "c.mp3";
    boxes.Answer(IDYES);
    boxes.Answer(IDOK);
    {
        HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        view.SendMessage(WM_COMMAND, ID_FILE_WRITETAGS);
        CloseHandle(holder);
    }
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, "1 files could not be written. Make sure they exist and are not "
                                     "read-only or open in another program.");
    EXPECT_EQ(boxes.Shown()[1].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(list.ModifiedTracks().GetCount(), 1u);
    EXPECT_EQ(CMp3File(dir / "a.mp3").GetTitle(), "first");
}

namespace {

// Reads the open pop-up menu from inside the menu loop, then picks its first item.
struct MenuReader
{
    static std::vector<std::string> s_items;
    static std::vector<UINT> s_ids;
    static std::vector<std::string> s_subItems;
    static std::vector<UINT> s_subIds;

    static void Read(HMENU menu, std::vector<std::string>& items, std::vector<UINT>& ids)
    {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = "";
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
            info.dwTypeData = text;
            info.cch = sizeof text;
            GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
            items.push_back(info.fType & MFT_SEPARATOR ? "-" : text);
            ids.push_back(info.hSubMenu ? 0xFFFFFFFF : info.wID);
            if (info.hSubMenu)
                Read(info.hSubMenu, s_subItems, s_subIds);
        }
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        static int s_ticks = 0;
        HWND popup = FindThreadPopup();
        if (!popup && ++s_ticks < 100)
            return; // not open yet: try again at the next tick
        KillTimer(nullptr, id);
        if (!popup)
            return;
        auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        Read(menu, s_items, s_ids);
        PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    }
};
std::vector<std::string> MenuReader::s_items;
std::vector<UINT> MenuReader::s_ids;
std::vector<std::string> MenuReader::s_subItems;
std::vector<UINT> MenuReader::s_subIds;

} // namespace

TEST_F(TrackListTest, RightClickOpensTheContextMenuWithoutChangingTheSelection)
{
    list.AddFiles({Song("a.mp3", "a"), Song("b.mp3", "b")});
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    SetTimer(nullptr, 0, 50, &MenuReader::OnTimer);
    RECT row{};
    list.GetItemRect(0, row, LVIR_BOUNDS);
    list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2));
    PumpMessages();

    EXPECT_EQ(MenuReader::s_items, (std::vector<std::string>{"Open", "Close", "-", "Rename Files", "-", "Batch-Edit Tag"}));
    EXPECT_EQ(MenuReader::s_ids, (std::vector<UINT>{ID_FILE_OPEN, ID_FILE_CLOSE, 0, ID_FILE_RENAME, 0, 0xFFFFFFFF}));
    EXPECT_EQ(MenuReader::s_subItems, (std::vector<std::string>{"Title", "Artist", "Album", "Genre", "Year", "Track", "Comment"}));
    EXPECT_EQ(MenuReader::s_subIds, (std::vector<UINT>{ID_BATCH_TITLE, ID_BATCH_ARTIST, ID_BATCH_ALBUM, ID_BATCH_GENRE,
                                                       ID_BATCH_YEAR, ID_BATCH_TRACK, ID_BATCH_COMMENT}));
    EXPECT_EQ(host.m_commands, (std::vector<UINT>{ID_FILE_OPEN})); // the main window owns the menu
    EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED), 0u);
    EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
}
