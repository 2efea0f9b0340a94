#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include "controls/LinkStatic.h"
#include "support/DialogDriver.h"
#include "support/FrameFixture.h"

namespace {

const char ADDRESS[] = "http://www.quillworks.example/quillfox/";

// The colour a static text is drawn in: what its dialog answers to its colour request.
COLORREF TextColour(HWND control)
{
    const HDC dc = GetDC(control);
    SendMessageA(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const COLORREF colour = GetTextColor(dc);
    ReleaseDC(control, dc);
    return colour;
}

// The controls of a dialog as a user reads them; the icon as "(icon)".
BOOL CALLBACK CollectText(HWND child, LPARAM texts)
{
    const bool icon = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    reinterpret_cast<Texts*>(texts)->push_back(
        icon ? (SendMessageA(child, STM_GETICON, 0, 0) ? "(icon)" : "(no icon)") : WindowText(child));
    return TRUE;
}

std::string ModuleFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string file = path;
    return file.substr(0, file.find_last_of('\\') + 1);
}

struct HelpCall
{
    HWND caller;
    std::string file;
    UINT command;
    HWND viewer;
};

// The real program; its help requests are recorded on their way to the help system.
class AboutHelpTest : public FrameFixture
{
protected:
    std::vector<HelpCall> helpCalls;
    char startFolder[MAX_PATH] = "";

    void SetUp() override
    {
        GetCurrentDirectoryA(sizeof startFolder, startFolder);
        FrameFixture::SetUp();
        frame->m_htmlHelp = [this](HWND caller, const std::string& file, UINT command, DWORD_PTR data) {
            EXPECT_EQ(data, 0u);
            const HWND viewer = SystemHtmlHelp(caller, file, command, data);
            helpCalls.push_back({caller, file, command, viewer});
            return viewer;
        };
        MouseToCorner(); // the about box opens in the middle of the screen: not under the mouse
    }
    void TearDown() override
    {
        MouseToCorner(); // away from the windows of the tests that follow
        FrameFixture::TearDown();
        SetCurrentDirectoryA(startFolder);
    }
    static void MouseToCorner() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); }
};

} // namespace

// The link's looks are the link tests' part; here: what the box holds, and that its link starts
// afresh, not visited, each time the box opens.
TEST_F(AboutHelpTest, AboutShowsTheProgramAndItsSiteAsALinkThatForgetsItWasVisited)
{
    HWND owner = nullptr;
    Texts texts;
    std::string target;
    bool clearOfOk = false;
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        owner = GetWindow(d, GW_OWNER);
        texts.push_back(WindowText(d));
        EnumChildWindows(d, &CollectText, reinterpret_cast<LPARAM>(&texts));
        const HWND link = GetDlgItem(d, IDC_ABOUT_LINK);
        RECT linkRect{}, okRect{};
        GetWindowRect(link, &linkRect);
        GetWindowRect(GetDlgItem(d, IDOK), &okRect);
        clearOfOk = linkRect.right < okRect.left;
        // As after a click that opened the site (no test opens a web address).
        if (auto* linkObject = dynamic_cast<CLinkStatic*>(CWnd::FromHandle(link))) {
            target = linkObject->m_strTarget.empty() ? WindowText(link) : linkObject->m_strTarget;
            linkObject->MarkOpened(TRUE);
        }
        ClickButton(d, IDOK);
    });
    COLORREF colour = 0;
    driver.Then([&](HWND d) {
        colour = TextColour(GetDlgItem(d, IDC_ABOUT_LINK));
        PressKey(d, VK_ESCAPE);
    });
    frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_EQ(owner, frame->m_hWnd);
    EXPECT_EQ(texts, (Texts{"About Quillfox", "(icon)", "Quillfox Version 1.1", "Copyright (C) Quillworks", "OK", ADDRESS}));
    EXPECT_EQ(target, ADDRESS);
    EXPECT_TRUE(clearOfOk);

    frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_EQ(colour, RGB(0, 0, 238));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(IsWindowEnabled(*frame));
}

namespace {

// Watches the about box's link from a timer in the dialog's loop while the mouse rests on it.
struct TooltipWatch
{
    HWND dialog = nullptr;
    CLinkStatic* link = nullptr;
    DWORD since = 0;
    COLORREF colour = 0;
    std::string tip; // the text of the tooltip once it shows
};
TooltipWatch* s_watch = nullptr;

void CALLBACK WatchTooltip(HWND, UINT, UINT_PTR timer, DWORD)
{
    TooltipWatch& watch = *s_watch;
    watch.colour = TextColour(*watch.link);
    if (IsWindowVisible(watch.link->m_tip)) {
        char text[128] = "";
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.lpszText = text;
        watch.link->m_tip.SendMessage(TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        watch.tip = text;
    }
    if (!watch.tip.empty() || GetTickCount() - watch.since > 3000) {
        KillTimer(nullptr, timer);
        ReleaseCapture();
        ClickButton(watch.dialog, IDOK);
    }
}

} // namespace

TEST_F(AboutHelpTest, TheMouseRestingOnTheLinkHighlightsItAndShowsTheAddressInATooltip)
{
    TooltipWatch watch;
    s_watch = &watch;
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        watch.dialog = d;
        watch.link = dynamic_cast<CLinkStatic*>(CWnd::FromHandle(GetDlgItem(d, IDC_ABOUT_LINK)));
        if (!watch.link) {
            ClickButton(d, IDOK);
            return;
        }
        // The mouse comes to rest over the link; its move goes through the dialog's own loop.
        POINT middle = {5, 5};
        ClientToScreen(*watch.link, &middle);
        SetCursorPos(middle.x, middle.y);
        watch.link->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        watch.since = GetTickCount();
        SetTimer(nullptr, 0, 50, &WatchTooltip);
    });
    frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    s_watch = nullptr;
    ASSERT_NE(watch.link, nullptr);
    EXPECT_EQ(watch.colour, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(watch.tip, ADDRESS);
}

TEST_F(AboutHelpTest, ContentsAndIndexOpenTheViewerOwnedByTheFrameFromAnyFolderAndClosingEndsIt)
{
    // The help file lies beside the program; the build puts it one folder above the tests.
    EXPECT_EQ(frame->m_strHelpFile, ModuleFolder() + "QuillfoxHlp.chm");
    std::string tests = ModuleFolder();
    tests.pop_back();
    const std::string helpFile = tests.substr(0, tests.find_last_of('\\') + 1) + "QuillfoxHlp.chm";
    ASSERT_TRUE(FileExists(helpFile)) << helpFile;
    frame->m_strHelpFile = helpFile;
    ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));

    frame->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    frame->SendMessage(WM_COMMAND, ID_HELP_INDEX);
    ASSERT_EQ(helpCalls.size(), 2u);
    EXPECT_EQ(helpCalls[0].command, static_cast<UINT>(HH_DISPLAY_TOC));
    EXPECT_EQ(helpCalls[1].command, static_cast<UINT>(HH_DISPLAY_INDEX));
    for (const HelpCall& call : helpCalls) {
        EXPECT_EQ(call.caller, frame->View().m_hWnd);
        EXPECT_EQ(call.file, helpFile);
        EXPECT_EQ(call.viewer, helpCalls[0].viewer);
    }
    const HWND viewer = helpCalls[0].viewer;
    ASSERT_NE(viewer, nullptr);
    char className[32] = "";
    GetClassNameA(viewer, className, sizeof className);
    EXPECT_STREQ(className, "HH Parent");
    EXPECT_EQ(WindowText(viewer), "Quillfox Help");
    EXPECT_TRUE(IsWindowVisible(viewer));
    EXPECT_EQ(GetWindow(viewer, GW_OWNER), frame->m_hWnd);

    frame->SendMessage(WM_CLOSE);
    ASSERT_EQ(theApp.m_pMainWnd, nullptr);
    ASSERT_EQ(helpCalls.size(), 3u);
    EXPECT_EQ(helpCalls[2].command, static_cast<UINT>(HH_CLOSE_ALL));
    EXPECT_FALSE(IsWindow(viewer));
}
