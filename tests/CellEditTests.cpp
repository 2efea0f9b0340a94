#include "app/resource.h"
#include "model/Mp3File.h"
#include "support/GuiTest.h"
#include "support/TestFiles.h"
#include "tracklist/CellEditors.h"

namespace {

class CellEditTest : public TrackListFixture
{
protected:
    void SetUp() override
    {
        TrackListFixture::SetUp();
        std::vector<std::string> paths;
        for (int i = 0; i < 4; ++i) {
            const std::string path = dir / ("s" + std::to_string(i) + ".mp3");
            WriteMp3(path, 1, TagBytes().Put(TITLE, "Title" + std::to_string(i)).Put(ARTIST, "Artist")
                                  .Byte(TRACK, 7).Byte(GENRE, 17));
            paths.push_back(path);
        }
        list.AddFiles(paths);
        CTrackListCtrl::s_lastClickRow = -1;
        host.SetFocus();
    }
    void TearDown() override
    {
        list.EndEdit();
        PumpMessages();
        EXPECT_EQ(list.Editor(), nullptr); // an editor tells the list when it is deleted
    }

    POINT CellPoint(int row, int column) const
    {
        RECT bounds{};
        list.GetItemRect(row, bounds, LVIR_BOUNDS);
        int left = bounds.left;
        for (int c = 0; c < column; ++c)
            left += list.GetColumnWidth(c);
        return POINT{left + 10, (bounds.top + bounds.bottom) / 2};
    }
    // A click as the user makes it: down and up, handled by the program's loop.
    void Click(int row, int column)
    {
        const POINT pt = CellPoint(row, column);
        list.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        list.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        PumpMessages();
    }
    // Opens the editor over a cell with two clicks on its row.
    CWnd* Open(int row, int column)
    {
        Click(row, column);
        Click(row, column);
        return list.Editor();
    }
    void Type(const std::string& text)
    {
        for (char c : text)
            PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 0);
        PumpMessages();
    }
    void Key(WPARAM key)
    {
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 0);
        PumpMessages();
    }
    CMp3File& Track(int row) { return *list.GetTrack(row); }
};

RECT RectInList(HWND wnd, HWND list)
{
    RECT rect{};
    GetWindowRect(wnd, &rect);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

TEST_F(CellEditTest, FirstClickSelectsSecondClickOpensTheEditorOverTheCell)
{
    Click(1, 2);
    EXPECT_EQ(list.Editor(), nullptr);
    EXPECT_NE(list.GetItemState(1, LVIS_SELECTED), 0u);

    Click(1, 2);
    CWnd* editor = list.Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetDlgCtrlID(), static_cast<UINT>(IDC_CELLEDIT));
    EXPECT_EQ(editor->GetWindowText(), "Artist");
    EXPECT_EQ(GetFocus(), editor->m_hWnd);
    EXPECT_EQ(editor->SendMessage(EM_GETSEL), MAKELRESULT(0, 6)); // all selected
    const DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL; // the edit box turns WS_BORDER into its own edge
    EXPECT_EQ(editor->GetStyle() & style, style);
    RECT bounds{};
    list.GetItemRect(1, bounds, LVIR_BOUNDS);
    const RECT rect = RectInList(*editor, list);
    EXPECT_EQ(rect.left, bounds.left + 200 + 4);
    EXPECT_EQ(rect.right - rect.left, 100 - 3);
    EXPECT_EQ(rect.top, bounds.top);
    EXPECT_EQ(rect.bottom, bounds.bottom);
}

TEST_F(CellEditTest, GenrePickerShowsTheTracksGenreAndIsTallerByItsList)
{
    CWnd* picker = Open(2, 4);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->GetDlgCtrlID(), static_cast<UINT>(IDC_CELLCOMBO));
    auto* combo = static_cast<CComboBox*>(picker);
    EXPECT_EQ(combo->GetCount(), 149);
    EXPECT_EQ(combo->GetLBText(combo->GetCurSel()), "Rock"); // not "Rock & Roll"
    EXPECT_EQ(combo->GetLBText(0), "");
    // The drop-down height comes from the creation height: compare with a picker made with the
    // row's height plus 80 pixels.
    RECT bounds{};
    list.GetItemRect(2, bounds, LVIR_BOUNDS);
    HWND reference = CreateWindowA("COMBOBOX", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, 0, 0, 97,
                                   bounds.bottom - bounds.top + 80, list, nullptr, nullptr, nullptr);
    SendMessageA(reference, WM_SETFONT, list.SendMessage(WM_GETFONT), FALSE);
    RECT expected{}, dropped{};
    SendMessageA(reference, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&expected));
    picker->SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    DestroyWindow(reference);
    EXPECT_EQ(dropped.bottom - dropped.top, expected.bottom - expected.top);

    // A genre without a name selects the empty entry.
    Track(3).SetGenre(200);
    combo = static_cast<CComboBox*>(Open(3, 4));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetLBText(combo->GetCurSel()), "");
}

TEST_F(CellEditTest, GenreChoiceIsReportedWhenTheFocusLeaves)
{
    auto* combo = static_cast<CComboBox*>(Open(0, 4));
    ASSERT_NE(combo, nullptr);
    combo->SetCurSel(combo->FindStringExact(-1, "Vocal"));
    list.SetFocus();
    PumpMessages();
    EXPECT_EQ(list.Editor(), nullptr);
    EXPECT_EQ(Track(0).GetGenre(), 28);
    EXPECT_EQ(list.GetItemText(0, 4), "Vocal");
    EXPECT_EQ(list.ModifiedTracks().GetCount(), 1u);

    // The empty entry and the same genre report nothing.
    for (const char* choice : {"", "Rock"}) {
        combo = static_cast<CComboBox*>(Open(1, 4));
        ASSERT_NE(combo, nullptr);
        combo->SetCurSel(combo->FindStringExact(-1, choice));
        list.SetFocus();
        PumpMessages();
        EXPECT_EQ(Track(1).GetGenre(), 17) << choice;
        EXPECT_FALSE(Track(1).IsModified()) << choice;
    }
}

// One table of text and number edits, in order on the same rows: Enter stores the text and
// marks the file once, Escape and an unchanged text leave it alone, the Track cell shows the
// number that will be written.
TEST_F(CellEditTest, EditsLandAsTheCellShowsThem)
{
    struct Case { int row, column; const char* typed; WPARAM key; const char* cell; bool modified; size_t count; };
    const Case cases[] = {
        {0, 1, "New", VK_RETURN, "New", true, 1},
        {0, 7, "Note", VK_RETURN, "Note", true, 1},
        {1, 1, "TITLE1", VK_RETURN, "TITLE1", true, 2}, // the letter case alone is a change
        {2, 1, "Changed", VK_ESCAPE, "Title2", false, 2},
        {2, 2, nullptr, 0, "Artist", false, 2}, // the focus leaves without a change
        {3, 6, "07", VK_RETURN, "7", false, 2}, // the same number only puts the cell right
        {2, 6, "12abc", VK_RETURN, "12", true, 3},
        {2, 6, "abc", VK_RETURN, "", true, 3},
        {2, 6, "300", VK_RETURN, "255", true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : "unchanged");
        ASSERT_NE(Open(c.row, c.column), nullptr);
        if (c.typed) {
            Type(c.typed);
            Key(c.key);
        } else {
            list.SetFocus();
            PumpMessages();
        }
        EXPECT_EQ(list.Editor(), nullptr);
        EXPECT_EQ(GetFocus(), list.m_hWnd);
        EXPECT_EQ(list.GetItemText(c.row, c.column), c.cell);
        EXPECT_EQ(Track(c.row).IsModified(), c.modified);
        EXPECT_EQ(list.ModifiedTracks().GetCount(), c.count);
    }
    EXPECT_EQ(Track(0).GetTitle() + "|" + Track(0).GetComment() + "|" + Track(1).GetTitle(), "New|Note|TITLE1");
    EXPECT_EQ(Track(2).GetTrack(), 255);

    // -1 is stored as 0 (no track): the comment then keeps 30 bytes on disk.
    ASSERT_NE(Open(2, 6), nullptr);
    list.Editor()->SetWindowText("-1");
    Key(VK_RETURN);
    ASSERT_NE(Open(2, 7), nullptr);
    list.Editor()->SetWindowText(std::string(30, 'c'));
    Key(VK_RETURN);
    list.WriteTags();
    const CMp3File written(Track(2).GetPath());
    EXPECT_EQ(written.GetComment(), std::string(30, 'c'));
    EXPECT_EQ(written.GetTrack(), 0);
}

// Clicks, scrolling, the wheel, a header click and a group edit end an open edit; it lands in
// its own file's row, wherever that row goes.
TEST_F(CellEditTest, WhateverEndsAnEditItLandsInItsOwnRow)
{
    const std::function<void()> leaves[] = {
        [this] { Click(2, 1); }, [this] { list.SendMessage(WM_VSCROLL, SB_LINEDOWN); },
        [this] { list.SendMessage(WM_HSCROLL, SB_LINERIGHT); },
        [this] { list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA)); },
        [this] { CTrackListCtrl::s_sortColumn = 3, CTrackListCtrl::s_sortAscending = 1; ClickHeader(3); }, // descending
    };
    for (int row = 0; row < 5; ++row) {
        CMp3File* edited = list.GetTrack(row % 4);
        const std::string album = "Album" + std::to_string(row);
        ASSERT_NE(Open(row % 4, 3), nullptr);
        list.Editor()->SetWindowText(album);
        leaves[row]();
        EXPECT_EQ(list.Editor(), nullptr);
        EXPECT_EQ(edited->GetAlbum(), album);
        EXPECT_EQ(list.GetItemText(list.FindRow(edited), 3), album);
    }
    EXPECT_EQ(list.GetTrack(0)->GetAlbum(), "Album4"); // sorted after the edit landed
    EXPECT_EQ(CTrackListCtrl::s_lastClickRow, -1);

    ASSERT_NE(Open(1, 2), nullptr);
    list.Editor()->SetWindowText("batch-ended");
    Select({1, 2});
    CMp3File* second = list.GetTrack(1);
    list.BatchSetText(ID_BATCH_ARTIST, "Group");
    EXPECT_EQ(second->GetArtist(), "Group"); // the edit landed first, then the group edit
}

TEST_F(CellEditTest, ScrolledOutColumnComesToTheLeftEdgeAndNarrowColumnsOpenNothing)
{
    list.MoveWindow(RECT{0, 0, 300, 200});
    CWnd* editor = list.EditCell(1, 7);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(RectInList(*editor, list).left, 4);
    list.EndEdit();

    list.SendMessage(LVM_SETCOLUMNWIDTH, 5, 4);
    EXPECT_EQ(list.EditCell(1, 5), nullptr);
    EXPECT_EQ(list.EditCell(1, 8), nullptr);
}

TEST_F(CellEditTest, EditorGrowsWithItsTextUpToTheListEdge)
{
    view.MoveWindow(RECT{0, 0, 250, 380});
    UpdateWindow(view); // the list fills the view as it paints
    ASSERT_NE(Open(0, 1), nullptr);
    HWND editor = *list.Editor();
    const RECT before = RectInList(editor, list);
    Type(std::string(12, 'W'));
    const RECT grown = RectInList(editor, list);
    EXPECT_EQ(grown.left, before.left);
    EXPECT_EQ(grown.top, before.top);
    EXPECT_EQ(grown.bottom, before.bottom);
    EXPECT_GT(grown.right, before.right);
    Key(VK_BACK);
    Type("\b\b\b\b");
    EXPECT_EQ(RectInList(editor, list).right, grown.right); // never shrinks
    Type(std::string(30, 'W'));
    EXPECT_EQ(RectInList(editor, list).right, list.GetClientRect().right);
}
