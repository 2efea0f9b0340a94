#include <windows.h>
#include <commctrl.h>

#include <htmlhelp.h>

#include <algorithm>
#include <map>
#include <set>

#include "framework/FileDialog.h"
#include "model/Mp3File.h"
#include "support/DialogDriver.h"
#include "support/FrameFixture.h"

namespace {

class FrameTest : public FrameFixture
{
protected:
    // Loads count files titled T0, T1, ...; the file of modifiedRow gets a new comment.
    std::vector<std::string> Load(int count, int modifiedRow = -1)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            paths.push_back(dir / ("song" + std::to_string(i) + ".mp3"));
            WriteMp3(paths.back(), 1, TagBytes().Put(TITLE, "T" + std::to_string(i)));
        }
        frame->View().LoadFiles(paths);
        if (modifiedRow >= 0)
            List().Tracks().SetText(TF_COMMENT, {static_cast<size_t>(modifiedRow)}, "changed");
        return paths;
    }
    void Select(std::initializer_list<int> rows)
    {
        List().SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows)
            List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    // The enabled state of a command as its menu shows it when opened.
    bool MenuEnabled(UINT id)
    {
        HMENU bar = GetMenu(*frame);
        for (int i = 0; i < GetMenuItemCount(bar); ++i)
            frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar, i)), i);
        const UINT state = GetMenuState(bar, id, MF_BYCOMMAND);
        EXPECT_NE(state, static_cast<UINT>(-1)) << id;
        return !(state & (MF_GRAYED | MF_DISABLED));
    }
    bool MenuChecked(UINT id)
    {
        MenuEnabled(id);
        return GetMenuState(GetMenu(*frame), id, MF_BYCOMMAND) & MF_CHECKED;
    }
    // As the button shows it; the idle pass of the loop updates the buttons.
    bool ButtonEnabled(UINT id, bool idleFirst = true)
    {
        if (idleFirst)
            PumpMessages();
        return (frame->ToolBar().SendMessage(TB_GETSTATE, id) & TBSTATE_ENABLED) != 0;
    }
    // Drags the toolbar by its gripper and lets it go at a screen point.
    void DragToolBar(POINT screen)
    {
        CToolBar& bar = frame->ToolBar();
        const RECT window = bar.GetWindowRect();
        bar.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 2, window.top + 2));
        ScreenToClient(bar, &screen);
        bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(screen.x, screen.y));
    }
    // A screen point just inside the frame's client area on one side.
    POINT EdgePoint(DockSide side)
    {
        const RECT c = frame->GetClientRect();
        POINT p = {(c.left + c.right) / 2, (c.top + c.bottom) / 2};
        if (side == DOCK_LEFT || side == DOCK_RIGHT)
            p.x = side == DOCK_LEFT ? c.left + 3 : c.right - 3;
        else
            p.y = side == DOCK_TOP ? c.top + 3 : c.bottom - 3;
        ClientToScreen(*frame, &p);
        return p;
    }
    RECT InFrame(CWnd& wnd)
    {
        RECT r = wnd.GetWindowRect();
        MapWindowPoints(nullptr, *frame, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The status bar along the bottom, the toolbar (when docked and shown) along its side of the
    // rest, the view in what is left, and the list filling the view.
    void ExpectLayout(const std::string& what)
    {
        SCOPED_TRACE(what);
        UpdateWindow(frame->View()); // the view places the list as it paints
        RECT free = frame->GetClientRect();
        if (IsWindowVisible(frame->StatusBar())) {
            const RECT status = InFrame(frame->StatusBar());
            EXPECT_TRUE(status.left == 0 && status.right == free.right && status.bottom == free.bottom);
            free.bottom = status.top;
        }
        CToolBar& bar = frame->ToolBar();
        if (IsWindowVisible(bar) && bar.GetDockSide() != DOCK_FLOAT) {
            const RECT b = InFrame(bar);
            switch (bar.GetDockSide()) {
            case DOCK_TOP: EXPECT_TRUE(b.top == free.top && b.left == free.left && b.right == free.right); free.top = b.bottom; break;
            case DOCK_BOTTOM: EXPECT_TRUE(b.bottom == free.bottom && b.left == free.left && b.right == free.right); free.bottom = b.top; break;
            case DOCK_LEFT: EXPECT_TRUE(b.left == free.left && b.top == free.top && b.bottom == free.bottom); free.left = b.right; break;
            default: EXPECT_TRUE(b.right == free.right && b.top == free.top && b.bottom == free.bottom); free.right = b.left; break;
            }
            const bool upright = bar.GetDockSide() == DOCK_LEFT || bar.GetDockSide() == DOCK_RIGHT;
            EXPECT_EQ(b.bottom - b.top > b.right - b.left, upright);
        }
        const RECT view = InFrame(frame->View());
        EXPECT_TRUE(EqualRect(&view, &free)) << view.left << "," << view.top << "," << view.right << "," << view.bottom;
        RECT client = frame->View().GetClientRect();
        MapWindowPoints(frame->View(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        const RECT list = List().GetWindowRect();
        EXPECT_TRUE(EqualRect(&list, &client));
    }
    // Runs the program's own message loop until a timer, which fires once the loop waits,
    // posts WM_QUIT with the given code.
    int RunLoop(int exitCode)
    {
        s_exitCode = exitCode;
        // Long enough for the queue to empty and the idle pass to run on a loaded machine.
        const UINT_PTR timer = SetTimer(nullptr, 0, 250, &PostQuit);
        const int result = theApp.Run();
        KillTimer(nullptr, timer);
        return result;
    }
    static int s_exitCode;
    static void CALLBACK PostQuit(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(s_exitCode); }
};

int FrameTest::s_exitCode = 0;

const UINT BATCH_COMMANDS[] = {ID_BATCH_TITLE, ID_BATCH_ARTIST, ID_BATCH_ALBUM, ID_BATCH_GENRE,
                               ID_BATCH_YEAR, ID_BATCH_TRACK, ID_BATCH_COMMENT};

} // namespace

// Resizing, docking the toolbar on each side and the View toggles all lay the window out anew.
TEST_F(FrameTest, LayoutFollowsResizingDockingAndTheViewToggles)
{
    Load(3);
    ExpectLayout("at the start");
    const RECT start = frame->GetWindowRect();
    for (const SIZE size : {SIZE{420, 260}, SIZE{980, 640}}) {
        frame->MoveWindow(RECT{start.left, start.top, start.left + size.cx, start.top + size.cy});
        ExpectLayout("resized to " + std::to_string(size.cx));
    }
    for (DockSide side : {DOCK_LEFT, DOCK_RIGHT, DOCK_BOTTOM, DOCK_TOP}) {
        DragToolBar(EdgePoint(side));
        EXPECT_EQ(frame->ToolBar().GetDockSide(), side);
        ExpectLayout("docked on side " + std::to_string(side));
    }
    EXPECT_TRUE(MenuChecked(ID_VIEW_TOOLBAR));
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(IsWindowVisible(frame->ToolBar()));
    EXPECT_FALSE(MenuChecked(ID_VIEW_TOOLBAR));
    ExpectLayout("no toolbar");
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(IsWindowVisible(frame->StatusBar()));
    ExpectLayout("no bars");
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    ExpectLayout("both bars back");
}

// Dragged out of the frame the toolbar floats in a window of its own, its buttons still reach
// the frame; dragged back it docks; closed while floating it comes back docked at the top.
TEST_F(FrameTest, ToolbarDraggedOutOfTheFrameFloatsAndDocksAgain)
{
    Load(2);
    CToolBar& bar = frame->ToolBar();
    const RECT frameRect = frame->GetWindowRect();
    for (const bool closeIt : {false, true}) {
        DragToolBar(POINT{frameRect.right + 20, frameRect.top + 40});
        ASSERT_EQ(bar.GetDockSide(), DOCK_FLOAT);
        ASSERT_NE(bar.FloatingWindow(), nullptr);
        EXPECT_EQ(bar.GetParent(), bar.FloatingWindow()->m_hWnd);
        EXPECT_TRUE(IsWindowVisible(*bar.FloatingWindow()));
        EXPECT_TRUE(MenuChecked(ID_VIEW_TOOLBAR));
        ExpectLayout("floating");
        if (closeIt)
            break;
        bar.FloatingWindow()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_SELECT_ALL, BN_CLICKED),
                                          reinterpret_cast<LPARAM>(bar.m_hWnd));
        EXPECT_EQ(List().GetSelectedCount(), 2);
        DragToolBar(EdgePoint(DOCK_LEFT));
        EXPECT_EQ(bar.GetDockSide(), DOCK_LEFT);
        EXPECT_EQ(bar.FloatingWindow(), nullptr);
        EXPECT_EQ(bar.GetParent(), frame->m_hWnd);
        ExpectLayout("docked again");
    }
    bar.FloatingWindow()->SendMessage(WM_CLOSE);
    EXPECT_FALSE(IsWindowVisible(bar));
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(bar.GetDockSide(), DOCK_TOP);
}

// One table of the enabling rules, read where the user meets them: the menu bar, the toolbar
// and the list's context menu. A disabled command does nothing, however it is sent.
TEST_F(FrameTest, EnablingRulesFollowRowsSelectionAndEdits)
{
    const std::set<UINT> always = {ID_FILE_OPEN, ID_OPTIONS_FORMAT, ID_HELP_FINDER, ID_APP_ABOUT, ID_APP_EXIT};
    std::set<UINT> withRows = always, one = always, two = always;
    withRows.insert({ID_EDIT_SELECT_ALL, ID_EDIT_SELECTMODIFIED});
    one.insert({ID_EDIT_SELECT_ALL, ID_EDIT_SELECTMODIFIED, ID_FILE_CLOSE, ID_FILE_RENAME, ID_TOOLS_PLAY});
    two.insert({ID_EDIT_SELECT_ALL, ID_EDIT_SELECTMODIFIED, ID_FILE_CLOSE, ID_FILE_RENAME});
    two.insert(std::begin(BATCH_COMMANDS), std::end(BATCH_COMMANDS));
    std::set<UINT> modified = two;
    modified.insert(ID_FILE_WRITETAGS);
    struct State { const char* what; std::function<void()> make; std::set<UINT> enabled; };
    const State states[] = {
        {"no rows", [] {}, always},
        {"rows, none selected", [this] { Load(3); }, withRows},
        {"one selected", [this] { Select({1}); }, one},
        {"two selected", [this] { Select({0, 2}); }, two},
        {"an edit", [this] { List().BatchSetText(ID_BATCH_YEAR, "2000"); }, modified},
    };
    const std::set<UINT> onToolbar = {ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_RENAME, ID_FILE_WRITETAGS, ID_TOOLS_PLAY, ID_TOOLS_STOP};
    CDialogDriver noDialogs; // any dialog a disabled command opened would fail the test
    for (const State& state : states) {
        SCOPED_TRACE(state.what);
        state.make();
        const int selected = List().GetSelectedCount();
        std::map<UINT, bool> inContextMenu;
        for (const MenuItem& item : ReadPopupMenu([this] { List().SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30)); }))
            inContextMenu[item.id] = item.enabled;
        for (UINT id : {ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_RENAME, ID_FILE_WRITETAGS, ID_EDIT_SELECT_ALL,
                        ID_EDIT_SELECTMODIFIED, ID_OPTIONS_FORMAT, ID_TOOLS_PLAY, ID_TOOLS_STOP, ID_BATCH_TITLE,
                        ID_BATCH_ARTIST, ID_BATCH_ALBUM, ID_BATCH_GENRE, ID_BATCH_YEAR, ID_BATCH_TRACK,
                        ID_BATCH_COMMENT, ID_HELP_FINDER, ID_APP_ABOUT, ID_APP_EXIT}) {
            const bool enabled = state.enabled.count(id) > 0;
            EXPECT_EQ(MenuEnabled(id), enabled) << id;
            if (onToolbar.count(id)) {
                EXPECT_EQ(ButtonEnabled(id), enabled) << id;
            }
            if (inContextMenu.count(id)) {
                EXPECT_EQ(inContextMenu[id], enabled) << id;
            }
            if (!enabled) {
                frame->SendMessage(WM_COMMAND, id);
                frame->PostMessage(WM_COMMAND, id);
                PumpMessages();
            }
        }
        EXPECT_EQ(List().GetSelectedCount(), selected); // the right click left the selection alone
    }
    EXPECT_EQ(List().GetItemCount(), 3);
    EXPECT_EQ(List().ModifiedTracks().GetCount(), 2u);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(FrameTest, ClosingAsksOnlyWhenTagsAreUnwritten)
{
    const std::vector<std::string> paths = Load(2, 1);
    const std::vector<unsigned char> before = ReadBytes(paths[1]);
    for (UINT how : {0u, 1u, 2u}) { // close box, system menu, File > Exit
        boxes.Answer(IDNO);
        if (how == 0)
            frame->SendMessage(WM_CLOSE);
        else if (how == 1)
            frame->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
        else
            frame->SendMessage(WM_COMMAND, ID_APP_EXIT);
        ASSERT_NE(theApp.m_pMainWnd, nullptr) << how;
        EXPECT_EQ(boxes.Shown().back().text, shown::CONFIRM_EXIT);
        EXPECT_EQ(boxes.Shown().back().type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    }
    boxes.Answer(IDNO);
    EXPECT_EQ(frame->SendMessage(WM_QUERYENDSESSION), FALSE);
    EXPECT_EQ(List().GetItemCount(), 2);
    EXPECT_TRUE(List().GetTrack(1)->IsModified());

    boxes.Answer(IDYES);
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(ReadBytes(paths[1]), before); // nothing written on the way out
}

// An edit still open when the program or the row closes lands first: a tag edit joins the
// unwritten ones (and is asked about), a File Name edit is asked about and carried out or dropped.
TEST_F(FrameTest, OpenEditsLandBeforeExitOrFileClose)
{
    struct Case { bool exit; int column; std::vector<int> answers; Texts asked; bool open; std::string file; };
    const Case cases[] = {
        {true, 1, {IDNO}, {shown::CONFIRM_EXIT}, true, "a.mp3"},
        {true, 0, {IDYES}, {shown::CONFIRM_RENAME_ONE}, false, "typed.mp3"},
        {true, 0, {IDNO}, {shown::CONFIRM_RENAME_ONE}, false, "a.mp3"},
        {false, 1, {IDNO}, {shown::CONFIRM_REMOVE}, true, "a.mp3"},
        {false, 0, {IDYES}, {shown::CONFIRM_RENAME_ONE}, false, "typed.mp3"},
        {false, 0, {IDNO}, {shown::CONFIRM_RENAME_ONE}, false, "a.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.exit ? "exit" : "close") + ", column " + std::to_string(c.column));
        if (!theApp.m_pMainWnd)
            SetUp();
        CTempDir folder;
        WriteMp3(folder / "a.mp3", 1, TagBytes().Put(TITLE, "T"));
        List().DeleteAllTracks();
        List().AddFiles({folder / "a.mp3"});
        Select({0});
        CWnd* editor = List().EditCell(0, c.column);
        ASSERT_NE(editor, nullptr);
        editor->SetWindowText(c.column == 0 ? "typed.mp3" : "typed");
        boxes.Clear();
        for (int answer : c.answers)
            boxes.Answer(answer);
        frame->SendMessage(WM_COMMAND, c.exit ? ID_APP_EXIT : ID_FILE_CLOSE);
        EXPECT_EQ(boxes.ShownTexts(), c.asked);
        EXPECT_EQ(Listing(folder.Path()), Texts{c.file});
        if (c.exit) {
            ASSERT_EQ(theApp.m_pMainWnd != nullptr, c.open);
        } else {
            ASSERT_EQ(List().GetItemCount(), c.open ? 1 : 0);
        }
        if (c.open) {
            EXPECT_EQ(List().GetTrack(0)->GetTitle(), "typed");
        }
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE); // posted as the frame went
    }
}

TEST_F(FrameTest, CloseRemovesSelectedRowsAskingAboutModifiedOnes)
{
    Load(4, 2);
    Select({0, 1, 2});
    boxes.Answer(IDNO);
    frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    EXPECT_EQ(boxes.ShownTexts(), Texts{shown::CONFIRM_REMOVE});
    ASSERT_EQ(List().GetItemCount(), 2);
    EXPECT_EQ(List().GetItemText(0, 0), "song2.mp3");
    EXPECT_NE(List().GetItemState(0, LVIS_SELECTED), 0u);
    EXPECT_EQ(StatusText(), "2 files loaded");

    boxes.Answer(IDYES);
    frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    EXPECT_EQ(List().GetItemCount(), 1);
    EXPECT_TRUE(List().ModifiedTracks().IsEmpty());
}

// The program's own loop: keys go through the accelerators, posted commands run, the idle pass
// updates the buttons once the queue is empty, and WM_QUIT ends it with its code.
TEST_F(FrameTest, TheMessageLoopRunsKeysCommandsAndIdleUntilQuit)
{
    Load(4, 3);
    EXPECT_FALSE(ButtonEnabled(ID_FILE_CLOSE));
    Select({1});
    frame->PostMessage(WM_COMMAND, ID_EDIT_SELECTMODIFIED);
    EXPECT_EQ(RunLoop(5), 5);
    EXPECT_EQ(List().SelectedRows(), (std::vector<int>{1, 3})); // added to the selection
    EXPECT_TRUE(ButtonEnabled(ID_FILE_CLOSE, false));

    List().SetFocus();
    {
        CHeldKeys control({VK_CONTROL});
        List().PostMessage(WM_KEYDOWN, 'A', 0);
        EXPECT_EQ(RunLoop(0), 0);
    }
    EXPECT_EQ(List().GetSelectedCount(), 4);

    // A key that is no accelerator reaches the focused window: End moves to the last row alone.
    List().PostMessage(WM_KEYDOWN, VK_END, 0);
    RunLoop(0);
    EXPECT_EQ(List().SelectedRows(), std::vector<int>{3});
}

// Text boxes keep their own keys: Ctrl+A selects text in a cell editor or any edit box of the
// frame, not every row.
TEST_F(FrameTest, AcceleratorsWaitWhileAnEditBoxHasTheFocus)
{
    Load(3);
    HWND plain = CreateWindowExA(0, "EDIT", "text", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, frame->View(), nullptr,
                                 nullptr, nullptr);
    for (const bool cellEditor : {true, false}) {
        SCOPED_TRACE(cellEditor ? "cell editor" : "edit box");
        HWND edit = cellEditor ? List().EditCell(0, 1)->m_hWnd : plain;
        SetFocus(edit);
        CHeldKeys control({VK_CONTROL});
        PostMessageA(edit, WM_KEYDOWN, 'A', 0);
        PumpMessages();
        EXPECT_EQ(List().GetSelectedCount(), 0);
        EXPECT_EQ(GetFocus(), edit);
    }
    DestroyWindow(plain);
}

TEST_F(FrameTest, OpenLoadsWhatTheDialogReturnsAndNeverPartOfIt)
{
    OPENFILENAMEA seen{};
    std::string filter, defaultExt, answer;
    BOOL result = TRUE;
    DWORD error = 0;
    FileDialogHandler previous = SetFileDialogHandler([&](OPENFILENAMEA& ofn, DWORD& reported) {
        seen = ofn;
        filter.assign(ofn.lpstrFilter, 46);
        defaultExt = ofn.lpstrDefExt ? ofn.lpstrDefExt : "";
        std::copy(answer.begin(), answer.end(), ofn.lpstrFile);
        reported = error;
        return result;
    });
    WriteMp3(dir / "a.mp3", 1);
    WriteMp3(dir / "b.mp3", 1);

    answer = dir / "a.mp3" + std::string(2, '\0');
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(seen.hwndOwner, frame->m_hWnd);
    EXPECT_EQ(seen.nMaxFile, 1048576u);
    const DWORD flags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    EXPECT_EQ(seen.Flags & flags, flags);
    EXPECT_EQ(filter, std::string("MP3 Files (*.mp3)\0*.mp3\0All Files (*.*)\0*.*\0\0", 46));
    EXPECT_EQ(defaultExt, "mp3");
    EXPECT_EQ(List().GetItemCount(), 1);

    std::string folder = dir.Path();
    folder.pop_back(); // the dialog gives the folder without its last backslash
    answer = folder + '\0' + "b.mp3" + std::string(2, '\0');
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_EQ(List().GetItemCount(), 2);
    EXPECT_EQ(List().GetTrack(1)->GetPath(), dir / "b.mp3");

    answer = std::string("C:\\") + '\0' + "x.mp3" + std::string(2, '\0');
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(List().GetItemText(2, 0), "x.mp3"); // from "C:\x.mp3": no second backslash

    // Windows reports a list too long for the buffer; Wine cuts it mid-name and reports success.
    result = FALSE;
    error = FNERR_BUFFERTOOSMALL;
    boxes.Answer({IDOK, IDOK});
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    result = TRUE;
    error = 0;
    answer.assign(1048576, 'x');
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(boxes.ShownTexts(), (Texts{shown::TOO_MANY_FILES, shown::TOO_MANY_FILES}));
    EXPECT_EQ(boxes.Shown()[1].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(List().GetItemCount(), 3);

    // Cancel loads nothing and says nothing.
    result = FALSE;
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(boxes.Shown().size(), 2u);
    SetFileDialogHandler(previous);
}

TEST_F(FrameTest, StatusBarShowsCountsPromptsAndKeyStates)
{
    Load(12);
    EXPECT_EQ(StatusText(), "12 files loaded");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_OPEN, MF_STRING), reinterpret_cast<LPARAM>(GetMenu(*frame)));
    EXPECT_EQ(StatusText(), shown::OPEN_PROMPT);
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(StatusText(), "Ready");

    // The mouse resting on a toolbar button shows its command's prompt, until it leaves.
    CToolBar& bar = frame->ToolBar();
    RECT button{};
    bar.SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
    POINT middle = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    POINT screen = middle;
    ClientToScreen(bar, &screen);
    SetCursorPos(screen.x, screen.y);
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(middle.x, middle.y));
    EXPECT_EQ(StatusText(), shown::OPEN_PROMPT);
    SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    bar.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(StatusText(), "Ready");

    for (const BYTE caps : {1, 0}) {
        CHeldKeys held({VK_CAPITAL}, caps);
        PumpMessages();
        EXPECT_EQ(StatusText(1), caps ? "CAP" : "");
    }
}

TEST_F(FrameTest, StartsReadyWithButtonsThatHaveTheirTooltipsAndDistinctImages)
{
    EXPECT_EQ(WindowText(*frame), "Quillfox");
    EXPECT_TRUE(IsWindowVisible(*frame));
    EXPECT_EQ(StatusText(), "Ready");
    CToolBar& bar = frame->ToolBar();
    EXPECT_EQ(bar.Buttons(), (std::vector<UINT>{ID_FILE_OPEN, ID_FILE_CLOSE, 0, ID_FILE_RENAME, ID_FILE_WRITETAGS, 0,
                                                ID_TOOLS_PLAY, ID_TOOLS_STOP}));
    EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 8);
    HWND tips = reinterpret_cast<HWND>(bar.SendMessage(TB_GETTOOLTIPS));
    ASSERT_NE(tips, nullptr);
    const std::pair<UINT, const char*> expected[] = {
        {ID_FILE_OPEN, "Open Files"}, {ID_FILE_CLOSE, "Close Selected Files"}, {ID_FILE_RENAME, "Rename"},
        {ID_FILE_WRITETAGS, "Write Tags"}, {ID_TOOLS_PLAY, "Play"}, {ID_TOOLS_STOP, "Stop"}};
    for (const auto& [id, tip] : expected) {
        char text[80] = "";
        TTTOOLINFOA info{};
        info.cbSize = sizeof info;
        info.hwnd = bar;
        info.uId = id;
        info.lpszText = text;
        SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(text, tip) << id;
    }

    // Each button shows an image of its own, with more than one colour in it.
    const auto images = reinterpret_cast<HIMAGELIST>(bar.SendMessage(TB_GETIMAGELIST));
    ASSERT_EQ(ImageList_GetImageCount(images), 6);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    std::set<std::vector<COLORREF>> seen;
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    for (int i = 0; i < 8; ++i) {
        TBBUTTON button{};
        bar.SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP)
            continue;
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        ImageList_Draw(images, button.iBitmap, dc, 0, 0, ILD_NORMAL);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels.push_back(GetPixel(dc, x, y));
        EXPECT_GT(std::set<COLORREF>(pixels.begin(), pixels.end()).size(), 1u) << button.idCommand;
        seen.insert(pixels);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(seen.size(), 6u);
}

TEST_F(FrameTest, F1OpensTheHelpContents)
{
    std::vector<UINT> commands;
    frame->m_htmlHelp = [&commands](HWND, const std::string&, UINT command, DWORD_PTR) -> HWND {
        commands.push_back(command);
        return nullptr;
    };
    Load(2);
    SetForegroundWindow(*frame);
    List().SetFocus();
    // Wine raises the help request only for real keyboard input.
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    for (int i = 0; i < 50 && commands.empty(); ++i) {
        Sleep(20);
        PumpMessages();
    }
    frame->m_htmlHelp = SystemHtmlHelp;
    EXPECT_EQ(commands, (std::vector<UINT>{HH_DISPLAY_TOC}));
}

TEST_F(FrameTest, TheRealOpenDialogLoadsTwoFilesTypedIntoIt)
{
    WriteMp3(dir / "one.mp3", 1, TagBytes().Put(TITLE, "One"));
    WriteMp3(dir / "two.mp3", 1, TagBytes().Put(TITLE, "Two"));
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    SetCurrentDirectoryA(dir.Path().c_str()); // the dialog opens in the current folder
    CDialogDriver driver;
    driver.Then([](HWND dialog) {
        HWND name = GetDlgItem(dialog, 0x47C); // the file-name box: a combo box under Wine
        if (!name)
            name = GetDlgItem(dialog, 0x480);
        SetWindowTextA(name, "\"one.mp3\" \"two.mp3\"");
        ClickButton(dialog, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    SetCurrentDirectoryA(before);
    ASSERT_EQ(List().GetItemCount(), 2);
    Texts titles = {List().GetItemText(0, 1), List().GetItemText(1, 1)};
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (Texts{"One", "Two"}));
    EXPECT_EQ(StatusText(), "2 files loaded");
}
