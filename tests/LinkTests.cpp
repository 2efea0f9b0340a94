#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <map>

#include "controls/LinkStatic.h"
#include "framework/Dialog.h"
#include "support/GuiTest.h"
#include "support/TestFiles.h"

namespace {

// The test dialog of LinkTests.rc.
enum { IDD_LINK_TEST = 2000, IDC_LEFT = 2001, IDC_CENTRE = 2002, IDC_RIGHT = 2003 };

const COLORREF NORMAL = RGB(0, 0, 238);
const COLORREF VISITED = RGB(85, 26, 139);
const COLORREF HOVER = GetSysColor(COLOR_HIGHLIGHT);
const COLORREF PAPER = RGB(10, 200, 10); // what lies under the control when it is drawn
const std::string UNABLE = "Unable to open hyperlink:\n\n";

// A link whose failure sound the test hears: each beep records how many boxes came before it.
class CListenedLink : public CLinkStatic
{
public:
    CListenedLink()
        : CLinkStatic([this](UINT type) {
              EXPECT_EQ(type, static_cast<UINT>(MB_ICONEXCLAMATION));
              m_beepsAfterBoxes.push_back(m_pBoxes->Shown().size());
          })
    {
    }
    const CMessageBoxScript* m_pBoxes = nullptr;
    std::vector<size_t> m_beepsAfterBoxes;
};

// A dialog whose statics become links through data exchange; m_texts replace the template's.
class CLinkTestDlg : public CDialog
{
public:
    CLinkTestDlg() : CDialog(IDD_LINK_TEST) {}

    std::map<int, std::string> m_texts;
    CListenedLink m_left, m_centre, m_right;

    BOOL OnInitDialog() override
    {
        for (const auto& [id, text] : m_texts)
            SetDlgItemTextA(m_hWnd, id, text.c_str());
        return CDialog::OnInitDialog();
    }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_LEFT, m_left);
        DDX_Control(dx, IDC_CENTRE, m_centre);
        DDX_Control(dx, IDC_RIGHT, m_right);
    }
};

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The link colour the control draws, painting as on screen over PAPER (its underline is a solid
// line of it); 0 when it shows none or more than one, or hides the PAPER with a background.
COLORREF LinkColour(HWND control)
{
    RECT client{};
    GetClientRect(control, &client);
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    SetDCBrushColor(dc, PAPER);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    std::map<COLORREF, int> counts;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x)
            ++counts[GetPixel(dc, x, y)];
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    if (counts[PAPER] < client.right * client.bottom / 2)
        return 0;
    COLORREF shown = 0;
    for (COLORREF colour : {NORMAL, VISITED, HOVER}) {
        if (counts[colour] >= client.right / 2)
            shown = shown ? 0xFFFFFFFF : colour;
    }
    return shown == 0xFFFFFFFF ? 0 : shown;
}

// A control's rectangle in its parent, and the size of its text in its font.
RECT ChildRect(HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE TextSize(HWND control)
{
    char text[256] = "";
    const int length = GetWindowTextA(control, text, sizeof text);
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, length, &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

class LinkTest : public HostFixture
{
protected:
    CLinkTestDlg dlg;

    void SetUp() override
    {
        HostFixture::SetUp();
        for (CListenedLink* link : {&dlg.m_left, &dlg.m_centre, &dlg.m_right})
            link->m_pBoxes = &boxes;
    }
    void TearDown() override { dlg.DestroyWindow(); }

    void Open()
    {
        ASSERT_NE(CreateBoundWindow(&dlg, [this]() {
                      return reinterpret_cast<INT_PTR>(CreateDialogParamA(
                          GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LINK_TEST), host, &NoDialogProc, 0));
                  }),
                  0);
    }
    // Where a static of the template was before it became a link.
    RECT TemplateRect(int left, int top, int width, int height)
    {
        RECT rect = {left, top, left + width, top + height};
        MapDialogRect(dlg, &rect);
        return rect;
    }
    static void MoveMouse(CLinkStatic& link, int x, int y) { link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    static void Click(CLinkStatic& link)
    {
        link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
};

} // namespace

TEST_F(LinkTest, AttachingUnderlinesTheTextAndFitsTheControlToItInItsAlignment)
{
    dlg.m_texts[IDC_RIGHT] = "";
    dlg.m_right.m_strTarget = "http://preset.example/";
    Open();
    EXPECT_EQ(dlg.m_left.m_strTarget, "http://left.example/");
    EXPECT_EQ(dlg.m_right.GetWindowText(), "http://preset.example/"); // an empty static shows its target
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(dlg.m_left.SendMessage(WM_GETFONT)), sizeof font, &font);
    EXPECT_TRUE(font.lfUnderline);

    // Left-aligned: in place, exactly as large as its text.
    const SIZE text = TextSize(dlg.m_left);
    const RECT was = TemplateRect(10, 10, 200, 20);
    const RECT is = ChildRect(dlg.m_left);
    EXPECT_EQ(is.left, was.left);
    EXPECT_EQ(is.top, was.top);
    EXPECT_EQ(is.right - is.left, text.cx);
    EXPECT_EQ(is.bottom - is.top, text.cy);

    // Centred: the same centre (the halves cut to whole pixels); right-aligned: the same right edge.
    const RECT centreWas = TemplateRect(10, 35, 200, 14);
    const RECT centreIs = ChildRect(dlg.m_centre);
    EXPECT_NEAR(centreIs.left + centreIs.right, centreWas.left + centreWas.right, 1);
    EXPECT_NEAR(centreIs.right - centreIs.left, TextSize(dlg.m_centre).cx, 1);
    EXPECT_EQ(ChildRect(dlg.m_right).right, TemplateRect(10, 55, 200, 14).right);
}

TEST_F(LinkTest, ColoursShowNormalHoverAndVisitedOverWhatLiesBehind)
{
    ASSERT_NE(HOVER, NORMAL);
    ASSERT_NE(HOVER, VISITED);
    Open();
    CLinkStatic& link = dlg.m_left;
    const RECT client = link.GetClientRect();
    EXPECT_EQ(LinkColour(link), NORMAL);

    // Over the control: highlighted, and the control follows the mouse until it leaves.
    MoveMouse(link, 2, 2);
    EXPECT_EQ(LinkColour(link), HOVER);
    EXPECT_EQ(GetCapture(), link.m_hWnd);
    MoveMouse(link, 3, 2);
    EXPECT_EQ(LinkColour(link), HOVER);
    MoveMouse(link, client.right + 5, 2);
    EXPECT_EQ(LinkColour(link), NORMAL);
    EXPECT_EQ(GetCapture(), nullptr);

    link.MarkOpened(TRUE);
    EXPECT_EQ(LinkColour(link), VISITED);
    MoveMouse(link, 2, 2);
    EXPECT_EQ(LinkColour(link), HOVER);
    MoveMouse(link, 2, -3);
    EXPECT_EQ(LinkColour(link), VISITED);

    // Another window takes the mouse (as a message box does): the highlight goes with it.
    MoveMouse(link, 2, 2);
    SetCapture(host);
    EXPECT_EQ(LinkColour(link), VISITED);
    ReleaseCapture();
    MoveMouse(link, 2, 2);
    EXPECT_EQ(LinkColour(link), HOVER);
    ReleaseCapture();
}

TEST_F(LinkTest, TheLinkShowsAHandAndHasOneToolWithTheAddress)
{
    Open();
    CLinkStatic& link = dlg.m_left;
    EXPECT_EQ(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    const HCURSOR hand = GetCursor();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    EXPECT_NE(hand, LoadCursor(nullptr, IDC_HAND)); // the link's own copy of the system's hand
    EXPECT_EQ(info.xHotspot, 7u);
    EXPECT_EQ(info.yHotspot, 0u);

    EXPECT_EQ(link.m_tip.GetToolCount(), 1);
    EXPECT_EQ(link.m_tip.GetText(&link, 1), "http://left.example/");

    // A link's copy of the hand goes with the link.
    HCURSOR copy = nullptr;
    {
        CLinkStatic other;
        other.SubclassWindow(CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 9, 9, host, nullptr, nullptr, nullptr));
        copy = other.m_hHandCursor;
        EXPECT_TRUE(GetIconInfo(copy, &info));
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
    }
    EXPECT_FALSE(GetIconInfo(copy, &info));
}

namespace {

// Keys under HKEY_CLASSES_ROOT (Wine ignores HKCU\Software\Classes) that decide what the link's
// fallback finds: .htm names a page class of the test's own, with or without an open command.
// The old .htm value comes back afterwards. No click can reach a real browser.
class CPageClassKeys
{
public:
    CPageClassKeys()
    {
        m_hadPageValue = CLinkStatic::ReadClassKeyDefault(HKEY_CLASSES_ROOT, ".htm", m_pageValue) == ERROR_SUCCESS;
        SetDefault(".htm", "QuillfoxTest.Page");
        RemoveCommand();
    }
    ~CPageClassKeys()
    {
        RemoveCommand();
        if (m_hadPageValue)
            SetDefault(".htm", m_pageValue);
        else
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
    }
    CPageClassKeys(const CPageClassKeys&) = delete;
    CPageClassKeys& operator=(const CPageClassKeys&) = delete;

    void SetCommand(const std::string& command) { SetDefault("QuillfoxTest.Page\\shell\\open\\command", command); }
    void RemoveCommand() { RegDeleteTreeA(HKEY_CLASSES_ROOT, "QuillfoxTest.Page"); }
    static void SetDefault(const std::string& key, const std::string& value)
    {
        RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
    }

private:
    bool m_hadPageValue = false;
    std::string m_pageValue;
};

// Clicks that open something: a recorder program in the test programs' folder stands in for the
// browser and writes its command line to a log.
class LinkClickTest : public LinkTest
{
protected:
    CTempDir dir;
    CPageClassKeys keys;
    std::string recorder;
    std::string log = dir / "recorder.log";

    void SetUp() override
    {
        LinkTest::SetUp();
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, sizeof path);
        recorder = path;
        recorder = recorder.substr(0, recorder.find_last_of('\\') + 1) + "link_recorder.exe";
        SetEnvironmentVariableA("QUILLFOX_RECORDER_LOG", log.c_str());
    }
    // The command lines the recorder wrote, once there are count of them (or after ten seconds).
    std::vector<std::string> RecordedCommands(size_t count)
    {
        std::vector<std::string> lines;
        for (int wait = 0; wait < 200 && lines.size() < count; ++wait) {
            Sleep(wait ? 50 : 0);
            lines.clear();
            std::ifstream in(log, std::ios::binary);
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
        }
        return lines;
    }
};

} // namespace

// A click the shell handles runs the program and turns the link visited; when the shell cannot
// open the address, the registered browser command runs, and without one the user hears why.
TEST_F(LinkClickTest, AClickOpensTheAddressThroughTheShellOrTheRegisteredBrowser)
{
    dlg.m_texts[IDC_CENTRE] = recorder;
    const std::string address = "qfxnowhere:page"; // a scheme nothing handles
    dlg.m_texts[IDC_LEFT] = address;
    Open();
    Click(dlg.m_centre);
    ASSERT_EQ(RecordedCommands(1).size(), 1u);
    EXPECT_NE(RecordedCommands(1)[0].find("link_recorder.exe"), std::string::npos);
    EXPECT_EQ(LinkColour(dlg.m_centre), VISITED);
    CListenedLink& link = dlg.m_left;

    // The text before the quoted placeholder, its blank included, one more blank, the address.
    keys.SetCommand("\"" + recorder + "\" -page \"%1\" -after");
    Click(link);
    ASSERT_EQ(RecordedCommands(2).size(), 2u);
    EXPECT_EQ(RecordedCommands(2)[1], "\"" + recorder + "\" -page  " + address);
    EXPECT_EQ(LinkColour(link), VISITED);
    EXPECT_TRUE(boxes.Shown().empty());

    // No command: a beep, then the shell's reason; visited no more.
    keys.RemoveCommand();
    boxes.Answer(IDOK);
    Click(link);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, UNABLE + "There is no application associated\nwith the given filename extension.");
    EXPECT_EQ(boxes.Shown()[0].caption, "Quillfox");
    EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(link.m_beepsAfterBoxes, std::vector<size_t>{0});
    EXPECT_EQ(LinkColour(link), NORMAL);

    // A browser program that is not there: WinExec's reason.
    keys.SetCommand("\"C:\\quillfox-missing\\browser.exe\" \"%1\"");
    boxes.Answer(IDOK);
    Click(link);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, UNABLE + "The specified file was not found.");
    EXPECT_EQ(link.m_beepsAfterBoxes, (std::vector<size_t>{0, 1}));
    EXPECT_EQ(RecordedCommands(2).size(), 2u); // one run for each successful click
    EXPECT_TRUE(dlg.m_centre.m_beepsAfterBoxes.empty());
}

using LinkFailure = HostFixture;

TEST_F(LinkFailure, EachResultCodeHasItsReasonAndOthersTheirNumber)
{
    const std::pair<int, const char*> cases[] = {
        {4, "Unknown Error (4) occurred."},
        {26, "A sharing violation occurred. "},
        {0, "The operating system is out\nof memory or resources."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    };
    for (const auto& [code, reason] : cases) {
        boxes.Answer(IDOK);
        CLinkStatic::ShowOpenError(code);
        EXPECT_EQ(boxes.Shown().back().text, UNABLE + reason) << code;
    }
}

TEST(LinkCommand, TheBrowserCommandIsTheTemplateCutAtItsPlaceholder)
{
    const std::string address = "http://www.quillworks.example/quillfox/";
    EXPECT_EQ(BrowserCommandLine("\"C:\\Web\\b.exe\" -new \"%1\" -x", address), "\"C:\\Web\\b.exe\" -new  " + address);
    EXPECT_EQ(BrowserCommandLine("C:\\Web\\b.exe %1 \"%1\"", address), "C:\\Web\\b.exe %1  " + address)
        << "the quoted placeholder comes first";
    EXPECT_EQ(BrowserCommandLine("C:\\Web\\b.exe -url=%1", address), "C:\\Web\\b.exe -url= " + address);
    EXPECT_EQ(BrowserCommandLine("C:\\Web\\b.exe", address), "C:\\Web\\b.exe " + address);
    // Longer than any fixed buffer: nothing is cut.
    const std::string longTemplate = "\"C:\\" + std::string(400, 'w') + "\\b.exe\" \"%1\"";
    const std::string longAddress = "http://a.example/" + std::string(300, 'p');
    EXPECT_EQ(BrowserCommandLine(longTemplate, longAddress),
              longTemplate.substr(0, longTemplate.size() - 4) + " " + longAddress);

    // A class key without a default value, or with one too long to read, is a failed read.
    const char* const key = "QuillfoxTest.Read";
    std::string value = "untouched";
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, key, &handle), ERROR_SUCCESS);
    EXPECT_NE(CLinkStatic::ReadClassKeyDefault(HKEY_CLASSES_ROOT, key, value), ERROR_SUCCESS);
    RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, std::string(300, 'v').c_str(), 300);
    EXPECT_NE(CLinkStatic::ReadClassKeyDefault(HKEY_CLASSES_ROOT, key, value), ERROR_SUCCESS);
    EXPECT_EQ(value, "untouched");
    RegCloseKey(handle);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
}

// A window the link cannot take (another process's, or no window at all) is refused: the link
// stays without a window and the other window keeps its own procedure.
TEST_F(LinkTest, AWindowThatRefusesSubclassingLeavesTheLinkWithoutOne)
{
    const HWND desktop = GetDesktopWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(desktop, &process);
    ASSERT_NE(process, GetCurrentProcessId());
    const LONG_PTR procedure = GetWindowLongPtrA(desktop, GWLP_WNDPROC);
    for (const HWND refusing : {desktop, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFE))}) {
        CLinkStatic link;
        EXPECT_FALSE(link.SubclassWindow(refusing));
        EXPECT_EQ(link.m_hWnd, nullptr);
        EXPECT_EQ(CWnd::FromHandle(refusing), nullptr);
    }
    EXPECT_EQ(GetWindowLongPtrA(desktop, GWLP_WNDPROC), procedure);
    EXPECT_TRUE(IsWindowVisible(desktop));
}
