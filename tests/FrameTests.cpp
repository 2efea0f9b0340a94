#include <windows.h>
#include <commctrl.h>

#include <htmlhelp.h>

#include <algorithm>
#include <map>

#include "app/MainFrame.h"
#include "app/QuillfoxApp.h"
#include "app/resource.h"
#include "framework/FileDialog.h"
#include "framework/Profile.h"
#include "model/Mp3File.h"
#include "support/DialogDriver.h"
#include "support/GuiTest.h"
#include "support/TestFiles.h"

extern CQuillfoxApp theApp;

namespace {


// The real program in the test process: the application object starts the real frame.
class FrameTest : public ::testing::Test
{
protected:
    CTempDir dir;
    CMessageBoxScript boxes;
    CMainFrame* frame = nullptr;

    void SetUp() override
    {
        SetRegistryKey("Quillworks", "Quillfox");
        ASSERT_TRUE(WriteProfileString("Options", "RenameFormat", "[title]-[artist].mp3"));
        ASSERT_TRUE(theApp.InitInstance());
        frame = dynamic_cast<CMainFrame*>(theApp.m_pMainWnd);
        ASSERT_NE(frame, nullptr);
        PumpMessages();
    }
    void TearDown() override
    {
        if (theApp.m_pMainWnd) {
            List().DeleteAllTracks();
            frame->DestroyWindow();
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        } // the quit message the frame posts as it goes
    }

    CTrackListCtrl& List() { return frame->View().List(); }
    std::vector<std::string> Load(int count, int modifiedRow = -1)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            paths.push_back(dir / ("song" + std::to_string(i) + ".mp3"));
            WriteMp3(paths.back(), 1, TagBytes().Put(TITLE, "T" + std::to_string(i)));
        }
        List().AddFiles(paths);
        if (modifiedRow >= 0) {
            List().SetItemState(modifiedRow, LVIS_SELECTED, LVIS_SELECTED);
            List().BatchSetText(ID_BATCH_COMMENT, "changed");
            List().SetItemState(modifiedRow, 0, LVIS_SELECTED);
        }
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
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            HMENU popup = GetSubMenu(bar, i);
            frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);
            for (int j = 0; j < GetMenuItemCount(popup); ++j) {
                HMENU sub = GetSubMenu(popup, j);
                if (sub)
                    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), j);
            }
        }
        const UINT state = GetMenuState(bar, id, MF_BYCOMMAND);
        EXPECT_NE(state, static_cast<UINT>(-1)) << id;
        return !(state & (MF_GRAYED | MF_DISABLED));
    }
    bool ButtonEnabled(UINT id)
    {
        PumpMessages(); // the idle pass updates the buttons
        return (frame->ToolBar().SendMessage(TB_GETSTATE, id) & TBSTATE_ENABLED) != 0;
    }
    std::string StatusText(int pane = 0) { return frame->StatusBar().GetText(pane); }
};

const UINT SELECTION_COMMANDS[] = {ID_FILE_CLOSE, ID_FILE_RENAME};
const UINT BATCH_COMMANDS[] = {ID_BATCH_TITLE, ID_BATCH_ARTIST, ID_BATCH_ALBUM, ID_BATCH_GENRE,
                               ID_BATCH_YEAR, ID_BATCH_TRACK, ID_BATCH_COMMENT};

} // namespace

TEST_F(FrameTest, StartsWithMenuToolbarListAndReady)
{
    char title[64] = "";
    GetWindowTextA(*frame, title, sizeof title);
    EXPECT_STREQ(title, "Quillfox");
    EXPECT_TRUE(IsWindowVisible(*frame));
    EXPECT_EQ(StatusText(), "Ready");
    EXPECT_EQ(frame->ToolBar().Buttons(), (std::vector<UINT>{ID_FILE_OPEN, ID_FILE_CLOSE, 0, ID_FILE_RENAME,
                                                              ID_FILE_WRITETAGS, 0, ID_TOOLS_PLAY, ID_TOOLS_STOP}));
    EXPECT_EQ(frame->ToolBar().SendMessage(TB_BUTTONCOUNT), 8);
    // The view lies between the bars and the list fills it.
    const RECT bar = frame->ToolBar().GetWindowRect();
    const RECT view = frame->View().GetWindowRect();
    const RECT status = frame->StatusBar().GetWindowRect();
    EXPECT_EQ(view.top, bar.bottom);
    EXPECT_EQ(view.bottom, status.top);
    const RECT client = frame->View().GetClientRect();
    const RECT list = List().GetClientRect();
    EXPECT_GE(list.right, client.right - GetSystemMetrics(SM_CXVSCROLL));
}

TEST_F(FrameTest, EnablingRulesFollowRowsSelectionAndEdits)
{
    // An empty list: only Open and the format are available among the view's commands.
    EXPECT_TRUE(MenuEnabled(ID_FILE_OPEN));
    EXPECT_TRUE(MenuEnabled(ID_OPTIONS_FORMAT));
    for (UINT id : {ID_FILE_CLOSE, ID_FILE_RENAME, ID_FILE_WRITETAGS, ID_EDIT_SELECT_ALL, ID_EDIT_SELECTMODIFIED,
                    ID_TOOLS_PLAY, ID_TOOLS_STOP, ID_BATCH_TITLE, ID_BATCH_GENRE})
        EXPECT_FALSE(MenuEnabled(id)) << id;
    EXPECT_TRUE(ButtonEnabled(ID_FILE_OPEN));
    EXPECT_FALSE(ButtonEnabled(ID_FILE_CLOSE));
    EXPECT_FALSE(ButtonEnabled(ID_TOOLS_STOP));
    // The frame's and the application's own commands need no rows.
    EXPECT_TRUE(MenuEnabled(ID_HELP_FINDER));
    EXPECT_TRUE(MenuEnabled(ID_APP_ABOUT));
    EXPECT_TRUE(MenuEnabled(ID_APP_EXIT));

    Load(3);
    EXPECT_TRUE(MenuEnabled(ID_EDIT_SELECT_ALL));
    EXPECT_TRUE(MenuEnabled(ID_EDIT_SELECTMODIFIED));
    Select({1});
    for (UINT id : SELECTION_COMMANDS) {
        EXPECT_TRUE(MenuEnabled(id));
        EXPECT_TRUE(ButtonEnabled(id));
    }
    EXPECT_TRUE(MenuEnabled(ID_TOOLS_PLAY));
    for (UINT id : BATCH_COMMANDS)
        EXPECT_FALSE(MenuEnabled(id)) << id;
    EXPECT_FALSE(MenuEnabled(ID_FILE_WRITETAGS));

    Select({0, 2});
    EXPECT_FALSE(MenuEnabled(ID_TOOLS_PLAY));
    EXPECT_FALSE(ButtonEnabled(ID_TOOLS_PLAY));
    for (UINT id : BATCH_COMMANDS)
        EXPECT_TRUE(MenuEnabled(id)) << id;
    List().BatchSetText(ID_BATCH_YEAR, "2000");
    EXPECT_TRUE(MenuEnabled(ID_FILE_WRITETAGS));
    EXPECT_TRUE(ButtonEnabled(ID_FILE_WRITETAGS));
}

TEST_F(FrameTest, DisabledCommandsDoNotRun)
{
    Load(2);
    // Nothing modified: Write Tags is disabled, so no question comes, whatever sends it.
    frame->SendMessage(WM_COMMAND, ID_FILE_WRITETAGS);
    frame->PostMessage(WM_COMMAND, ID_FILE_WRITETAGS);
    PumpMessages();
    // Nothing selected: Close removes nothing.
    frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    EXPECT_EQ(List().GetItemCount(), 2);
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
        EXPECT_EQ(boxes.Shown().back().text,
                  "MP3 Tags have been modified and not saved. Are you sure you want to exit without saving?");
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

TEST_F(FrameTest, ClosingWithAnOpenEditorAsksAboutItsEdit)
{
    Load(2);
    CWnd* editor = List().EditCell(0, 1);
    ASSERT_NE(editor, nullptr);
    editor->SetWindowText("typed");
    boxes.Answer(IDNO);
    frame->SendMessage(WM_CLOSE);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(List().GetTrack(0)->GetTitle(), "typed");
}

TEST_F(FrameTest, CloseRemovesSelectedRowsAskingAboutModifiedOnes)
{
    Load(4, 2);
    Select({0, 1, 2});
    boxes.Answer(IDNO);
    frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "File has been modified. Are you sure you want to remove it without saving?");
    ASSERT_EQ(List().GetItemCount(), 2);
    EXPECT_EQ(List().GetItemText(0, 0), "song2.mp3");
    EXPECT_NE(List().GetItemState(0, LVIS_SELECTED), 0u);
    EXPECT_EQ(StatusText(), "2 files loaded");

    boxes.Answer(IDYES);
    frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    EXPECT_EQ(List().GetItemCount(), 1);
    EXPECT_TRUE(List().ModifiedTracks().IsEmpty());
}

TEST_F(FrameTest, SelectAllAndSelectModified)
{
    Load(4, 3);
    Select({1});
    frame->SendMessage(WM_COMMAND, ID_EDIT_SELECTMODIFIED);
    EXPECT_EQ(List().GetSelectedCount(), 2); // added to the selection
    EXPECT_NE(List().GetItemState(3, LVIS_SELECTED), 0u);

    // Ctrl+A through the accelerators, pumped by the program's loop.
    List().SetFocus();
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    List().PostMessage(WM_KEYDOWN, 'A', 0);
    PumpMessages();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(List().GetSelectedCount(), 4);
}

TEST_F(FrameTest, BatchTrackTextIsReadAsANumber)
{
    Load(3);
    Select({0, 1});
    CDialogDriver driver;
    driver.Then([](HWND dialog) {
        TypeText(GetDlgItem(dialog, IDC_BATCH_VALUE), "12a");
        PressKey(dialog, VK_RETURN);
    });
    frame->SendMessage(WM_COMMAND, ID_BATCH_TRACK);
    EXPECT_EQ(List().GetTrack(0)->GetTrack(), 12);
    EXPECT_EQ(List().GetItemText(1, 6), "12");
    EXPECT_EQ(List().GetTrack(2)->GetTrack(), 0);

    driver.Then([](HWND dialog) {
        TypeText(GetDlgItem(dialog, IDC_BATCH_VALUE), "abc");
        PressKey(dialog, VK_RETURN);
    });
    frame->SendMessage(WM_COMMAND, ID_BATCH_TRACK);
    EXPECT_EQ(List().GetItemText(0, 6), "0");
    EXPECT_EQ(GetFocus(), List().m_hWnd);

    driver.Then([](HWND dialog) { ClickButton(dialog, IDOK); }); // "<none>"
    frame->SendMessage(WM_COMMAND, ID_BATCH_GENRE);
    EXPECT_EQ(List().GetItemText(0, 4), "Blues"); // unchanged: the files hold genre 0
}

namespace {

struct ScriptedOpen
{
    OPENFILENAMEA seen{};
    std::string filter;
    std::string defaultExt;
    std::vector<char> answer; // copied into the dialog's buffer
    BOOL result = TRUE;
    DWORD error = 0;
};

} // namespace

TEST_F(FrameTest, OpenLoadsWhatTheDialogReturnsAndNeverPartOfIt)
{
    ScriptedOpen script;
    FileDialogHandler previous = SetFileDialogHandler([&script](OPENFILENAMEA& ofn, DWORD& error) {
        script.seen = ofn;
        script.filter.assign(ofn.lpstrFilter, 46);
        script.defaultExt = ofn.lpstrDefExt ? ofn.lpstrDefExt : "";
        std::copy(script.answer.begin(), script.answer.end(), ofn.lpstrFile);
        error = script.error;
        return script.result;
    });
    const auto answer = [&script](const std::string& text) { script.answer.assign(text.begin(), text.end()); };
    const std::vector<std::string> paths = Load(0);
    WriteMp3(dir / "a.mp3", 1);
    WriteMp3(dir / "b.mp3", 1);

    answer(dir / "a.mp3" + std::string(2, '\0'));
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(script.seen.hwndOwner, frame->m_hWnd);
    EXPECT_EQ(script.seen.nMaxFile, 1048576u);
    EXPECT_EQ(script.seen.Flags & (OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_OVERWRITEPROMPT | OFN_EXPLORER),
              static_cast<DWORD>(OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_OVERWRITEPROMPT | OFN_EXPLORER));
    EXPECT_EQ(script.filter, std::string("MP3 Files (*.mp3)\0*.mp3\0All Files (*.*)\0*.*\0\0", 46));
    EXPECT_EQ(script.defaultExt, "mp3");
    EXPECT_EQ(List().GetItemCount(), 1);

    std::string folder = dir.Path();
    folder.pop_back(); // the dialog gives the folder without its last backslash
    answer(folder + '\0' + "a.mp3" + '\0' + "b.mp3" + std::string(2, '\0'));
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_EQ(List().GetItemCount(), 3);
    EXPECT_EQ(List().GetTrack(2)->GetPath(), dir / "b.mp3");

    answer(std::string("C:\\") + '\0' + "x.mp3" + std::string(2, '\0'));
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(List().GetItemText(3, 0), "x.mp3"); // from "C:\x.mp3": no second backslash

    // Windows reports a list too long for the buffer; Wine cuts it mid-name and reports success.
    const char* const tooMany = "Too many files were selected at once. No files were loaded; select fewer files at a time.";
    script.result = FALSE;
    script.error = FNERR_BUFFERTOOSMALL;
    boxes.Answer(IDOK);
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    script.result = TRUE;
    script.error = 0;
    script.answer.assign(1048576, 'x');
    boxes.Answer(IDOK);
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, tooMany);
    EXPECT_EQ(boxes.Shown()[1].text, tooMany);
    EXPECT_EQ(boxes.Shown()[1].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(List().GetItemCount(), 4);

    // Cancel loads nothing and says nothing.
    script.result = FALSE;
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(boxes.Shown().size(), 2u);
    SetFileDialogHandler(previous);
}

TEST_F(FrameTest, ViewTogglesHideBarsAndTheViewTakesTheRoom)
{
    EXPECT_TRUE(MenuEnabled(ID_VIEW_TOOLBAR));
    EXPECT_EQ(GetMenuState(GetMenu(*frame), ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    const RECT before = frame->View().GetWindowRect();
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(IsWindowVisible(frame->ToolBar()));
    MenuEnabled(ID_VIEW_TOOLBAR);
    EXPECT_EQ(GetMenuState(GetMenu(*frame), ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_LT(frame->View().GetWindowRect().top, before.top);
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(IsWindowVisible(frame->StatusBar()));
    EXPECT_GT(frame->View().GetWindowRect().bottom, before.bottom);
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    const RECT after = frame->View().GetWindowRect();
    EXPECT_TRUE(EqualRect(&after, &before));
}

TEST_F(FrameTest, GripperDraggedToTheLeftEdgeDocksTheToolbarThere)
{
    CToolBar& bar = frame->ToolBar();
    const RECT window = bar.GetWindowRect();
    bar.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 2, window.top + 5));
    RECT client = frame->GetClientRect();
    POINT drop = {client.left + 3, (client.top + client.bottom) / 2};
    MapWindowPoints(*frame, bar, &drop, 1);
    bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
    EXPECT_EQ(bar.GetDockSide(), DOCK_LEFT);
    const RECT docked = bar.GetWindowRect();
    const RECT view = frame->View().GetWindowRect();
    EXPECT_GT(docked.bottom - docked.top, docked.right - docked.left); // standing upright
    EXPECT_EQ(view.left, docked.right);
}

TEST_F(FrameTest, StatusBarShowsCountsPromptsAndKeyStates)
{
    Load(12);
    EXPECT_EQ(StatusText(), "12 files loaded");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_OPEN, MF_STRING), reinterpret_cast<LPARAM>(GetMenu(*frame)));
    EXPECT_EQ(StatusText(), "Open MP3 Files to Rename ");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(StatusText(), "Ready");

    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE caps = keys[VK_CAPITAL];
    keys[VK_CAPITAL] = 1;
    SetKeyboardState(keys);
    PumpMessages();
    EXPECT_EQ(StatusText(1), "CAP");
    keys[VK_CAPITAL] = 0;
    SetKeyboardState(keys);
    PumpMessages();
    EXPECT_EQ(StatusText(1), "");
    keys[VK_CAPITAL] = caps;
    SetKeyboardState(keys);
}

TEST_F(FrameTest, ToolbarButtonsHaveTheirTooltips)
{
    HWND tips = reinterpret_cast<HWND>(frame->ToolBar().SendMessage(TB_GETTOOLTIPS));
    ASSERT_NE(tips, nullptr);
    const std::pair<UINT, const char*> expected[] = {
        {ID_FILE_OPEN, "Open Files"}, {ID_FILE_CLOSE, "Close Selected Files"}, {ID_FILE_RENAME, "Rename"},
        {ID_FILE_WRITETAGS, "Write Tags"}, {ID_TOOLS_PLAY, "Play"}, {ID_TOOLS_STOP, "Stop"}};
    for (const auto& [id, tip] : expected) {
        char text[80] = "";
        TTTOOLINFOA info{};
        info.cbSize = sizeof info;
        info.hwnd = frame->ToolBar();
        info.uId = id;
        info.lpszText = text;
        SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(text, tip) << id;
    }
}


namespace {

// Reads the enabled state of every command of the open context menu, then closes it.
std::map<UINT, bool> g_contextStates;
void ReadStates(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            ReadStates(sub);
            continue;
        }
        const UINT id = GetMenuItemID(menu, i);
        if (id != 0)
            g_contextStates[id] = !(GetMenuState(menu, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    }
}
void CALLBACK ReadContextMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = FindThreadPopup();
    if (!popup)
        return; // not open yet
    KillTimer(nullptr, id);
    ReadStates(reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)));
    EndMenu();
}

} // namespace

TEST_F(FrameTest, ContextMenuFollowsTheSameEnablingRules)
{
    Load(3);
    const auto open = [this] {
        g_contextStates.clear();
        SetTimer(nullptr, 0, 50, &ReadContextMenu);
        List().SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
        PumpMessages();
    };
    open();
    EXPECT_TRUE(g_contextStates[ID_FILE_OPEN]);
    EXPECT_FALSE(g_contextStates[ID_FILE_CLOSE]);
    EXPECT_FALSE(g_contextStates[ID_FILE_RENAME]);
    EXPECT_FALSE(g_contextStates[ID_BATCH_GENRE]);

    Select({0, 2});
    open();
    EXPECT_TRUE(g_contextStates[ID_FILE_CLOSE]);
    EXPECT_TRUE(g_contextStates[ID_FILE_RENAME]);
    for (UINT id : BATCH_COMMANDS)
        EXPECT_TRUE(g_contextStates[id]) << id;
    EXPECT_EQ(List().GetSelectedCount(), 2); // the right click left the selection alone
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
    std::vector<std::string> titles = {List().GetItemText(0, 1), List().GetItemText(1, 1)};
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(StatusText(), "2 files loaded");
}

TEST_F(FrameTest, ToolbarDraggedOutOfTheFrameFloatsAndDocksAgain)
{
    Load(2);
    CToolBar& bar = frame->ToolBar();
    const RECT viewBefore = frame->View().GetWindowRect();
    const auto dragTo = [&bar](POINT screen) {
        const RECT window = bar.GetWindowRect();
        bar.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 2, window.top + 2));
        POINT client = screen;
        ScreenToClient(bar, &client);
        bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    };
    const RECT frameRect = frame->GetWindowRect();
    dragTo(POINT{frameRect.right + 20, frameRect.top + 40}); // out of the frame
    ASSERT_EQ(bar.GetDockSide(), DOCK_FLOAT);
    ASSERT_NE(bar.FloatingWindow(), nullptr);
    EXPECT_EQ(bar.GetParent(), bar.FloatingWindow()->m_hWnd);
    EXPECT_TRUE(IsWindowVisible(*bar.FloatingWindow()));
    EXPECT_LT(frame->View().GetWindowRect().top, viewBefore.top); // the view takes the room

    // Its buttons still reach the frame, and its tooltips still have their texts.
    bar.FloatingWindow()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_SELECT_ALL, BN_CLICKED),
                                      reinterpret_cast<LPARAM>(bar.m_hWnd));
    EXPECT_EQ(List().GetSelectedCount(), 2);
    EXPECT_TRUE(MenuEnabled(ID_VIEW_TOOLBAR));
    EXPECT_EQ(GetMenuState(GetMenu(*frame), ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));

    // Dragged onto the frame's left side, it docks there again.
    const RECT client = frame->GetClientRect();
    POINT left = {client.left + 3, (client.top + client.bottom) / 2};
    ClientToScreen(*frame, &left);
    dragTo(left);
    EXPECT_EQ(bar.GetDockSide(), DOCK_LEFT);
    EXPECT_EQ(bar.FloatingWindow(), nullptr);
    EXPECT_EQ(bar.GetParent(), frame->m_hWnd);
    EXPECT_EQ(frame->View().GetWindowRect().left, bar.GetWindowRect().right);

    // Closing a floating bar hides it; View > Toolbar brings it back docked at the top.
    dragTo(POINT{frameRect.right + 20, frameRect.top + 40});
    ASSERT_NE(bar.FloatingWindow(), nullptr);
    bar.FloatingWindow()->SendMessage(WM_CLOSE);
    EXPECT_FALSE(IsWindowVisible(bar));
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(bar.GetDockSide(), DOCK_TOP);
}
