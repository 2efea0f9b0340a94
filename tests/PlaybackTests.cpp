#include <windows.h>
#include <vfw.h>

#include "app/resource.h"
#include "framework/FrameWnd.h"
#include "model/Mp3File.h"
#include "model/PathText.h"
#include "support/GuiTest.h"
#include "support/TestFiles.h"
#include "view/TrackView.h"

namespace {

class CTestView : public CTrackView
{
public:
    using CTrackView::m_bPlaying;
    using CTrackView::m_hMciWnd;
};

// Closes the media window's own error box when one shows, and counts them.
int g_errorBoxes = 0;
void CALLBACK CloseErrorBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowA(nullptr, "MCI Error");
    if (box && GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) {
        ++g_errorBoxes;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
}

class PlaybackTest : public ::testing::Test
{
protected:
    CTestApp app;
    CTestHost host{600, 400};
    CTempDir dir;
    CMessageBoxScript boxes;
    CTestView view;
    UINT_PTR m_watch = 0;

    void SetUp() override
    {
        app.m_pMainWnd = &host;
        ASSERT_TRUE(view.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 600, 400}, host, AFX_IDW_PANE_FIRST));
        ASSERT_TRUE(view.CreateList(host, host, 600));
        for (const char* name : {"a.mp3", "b.mp3"})
            WriteMp3(dir / name, 40);
        WriteBytes(dir / "text.mp3", std::vector<unsigned char>(500, 'x'));
        view.List().AddFiles({dir / "a.mp3", dir / "b.mp3", dir / "text.mp3"});
        UpdateWindow(view); // the first paint lays the list out
        g_errorBoxes = 0;
        m_watch = SetTimer(nullptr, 0, 100, &CloseErrorBoxes);
    }
    void TearDown() override
    {
        KillTimer(nullptr, m_watch);
    }
    void Select(int row)
    {
        view.List().SetItemState(-1, 0, LVIS_SELECTED);
        view.List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    bool StopEnabled() { return CFrameWnd::IsCommandEnabled(view, ID_TOOLS_STOP); }
    void Command(UINT id) { view.SendMessage(WM_COMMAND, id); }
    // Pumps the loop until the condition holds or the time runs out.
    bool WaitFor(const std::function<bool()>& condition, DWORD ms = 5000)
    {
        const DWORD start = GetTickCount();
        while (!condition()) {
            if (GetTickCount() - start > ms)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            PumpMessages();
        }
        return true;
    }
    LRESULT Mode() { return SendMessageA(view.m_hMciWnd, MCIWNDM_GETMODEA, 0, 0); }
};

} // namespace

TEST_F(PlaybackTest, PlayShowsThePlayBarAndTheEndDisablesStop)
{
    EXPECT_FALSE(StopEnabled());
    Select(0);
    Command(ID_TOOLS_PLAY);
    ASSERT_NE(view.m_hMciWnd, nullptr);
    EXPECT_TRUE(StopEnabled());
    EXPECT_EQ(GetWindow(view, GW_CHILD), view.m_hMciWnd); // on top of the list
    RECT media{};
    GetWindowRect(view.m_hMciWnd, &media);
    MapWindowPoints(nullptr, view, reinterpret_cast<POINT*>(&media), 2);
    EXPECT_EQ(media.left, 0);
    EXPECT_EQ(media.bottom, view.GetClientRect().bottom);
    EXPECT_TRUE(WaitFor([this] { return Mode() == MCI_MODE_PLAY; }));

    // The 40-frame file ends after about a second.
    EXPECT_TRUE(WaitFor([this] { return !view.m_bPlaying; }));
    EXPECT_FALSE(StopEnabled());
    EXPECT_NE(Mode(), MCI_MODE_PLAY);
    EXPECT_EQ(g_errorBoxes, 0);
}

TEST_F(PlaybackTest, PlayWhilePlayingOpensTheNewFileInTheSameWindow)
{
    Select(0);
    Command(ID_TOOLS_PLAY);
    HWND media = view.m_hMciWnd;
    ASSERT_TRUE(WaitFor([this] { return Mode() == MCI_MODE_PLAY; }));
    Select(1);
    Command(ID_TOOLS_PLAY);
    EXPECT_EQ(view.m_hMciWnd, media);
    EXPECT_TRUE(WaitFor([this] { return Mode() == MCI_MODE_PLAY; }));
    char opened[MAX_PATH] = "";
    SendMessageA(media, MCIWNDM_GETFILENAMEA, sizeof opened, reinterpret_cast<LPARAM>(opened));
    EXPECT_EQ(NameOf(opened), "b.mp3");
    EXPECT_TRUE(view.m_bPlaying);
    EXPECT_EQ(g_errorBoxes, 0);
}

TEST_F(PlaybackTest, PauseKeepsStopAndStopThenPlayStartsAgain)
{
    Select(0);
    Command(ID_TOOLS_PLAY);
    ASSERT_TRUE(WaitFor([this] { return Mode() == MCI_MODE_PLAY; }));
    SendMessageA(view.m_hMciWnd, MCI_PAUSE, 0, 0);
    EXPECT_TRUE(WaitFor([this] { return Mode() == MCI_MODE_PAUSE; }));
    PumpMessages();
    EXPECT_TRUE(StopEnabled());

    Command(ID_TOOLS_STOP);
    EXPECT_FALSE(StopEnabled());
    EXPECT_NE(Mode(), MCI_MODE_PAUSE);

    Command(ID_TOOLS_PLAY);
    EXPECT_TRUE(StopEnabled());
    EXPECT_TRUE(WaitFor([this] { return Mode() == MCI_MODE_PLAY; }));
    Command(ID_TOOLS_STOP);
}

TEST_F(PlaybackTest, AFileThatCannotPlayKeepsStopEnabled)
{
    Select(2);
    Command(ID_TOOLS_PLAY);
    EXPECT_TRUE(WaitFor([] { return g_errorBoxes > 0; }));
    EXPECT_TRUE(StopEnabled());
    Command(ID_TOOLS_STOP);
    EXPECT_FALSE(StopEnabled());
}
