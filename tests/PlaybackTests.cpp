#include <windows.h>
#include <vfw.h>

#include "framework/FrameWnd.h"
#include "model/PathText.h"
#include "rename/NameFormat.h"
#include "support/GuiTest.h"

namespace {

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

// Two files of 40 frames (about a second each) and one that is no audio at all.
class PlaybackTest : public TrackListFixture
{
protected:
    UINT_PTR m_watch = 0;

    void SetUp() override
    {
        TrackListFixture::SetUp();
        for (const char* name : {"a.mp3", "b.mp3"})
            WriteMp3(dir / name, 40, TagBytes().Put(TITLE, name));
        WriteBytes(dir / "text.mp3", std::vector<unsigned char>(500, 'x'));
        list.AddFiles({dir / "a.mp3", dir / "b.mp3", dir / "text.mp3"});
        UpdateWindow(view); // the first paint lays the list out
        g_errorBoxes = 0;
        m_watch = SetTimer(nullptr, 0, 100, &CloseErrorBoxes);
    }
    void TearDown() override { KillTimer(nullptr, m_watch); }

    void Play(int row)
    {
        Select({row});
        Command(ID_TOOLS_PLAY);
    }
    // Stop is enabled exactly while the view counts a file as playing.
    bool StopEnabled() { return CFrameWnd::IsCommandEnabled(view, ID_TOOLS_STOP); }
    // The play bar: the media window, the view's top child.
    HWND Media() { return GetWindow(view, GW_CHILD) == list.m_hWnd ? nullptr : GetWindow(view, GW_CHILD); }
    // Pumps the loop until the condition holds or the time runs out. The time is generous: on a
    // loaded machine Wine's media pipeline can take seconds to start or to reach a file's end.
    bool WaitFor(const std::function<bool()>& condition, DWORD ms = 20000)
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
    LRESULT Mode() { return SendMessageA(Media(), MCIWNDM_GETMODEA, 0, 0); }
    bool Playing() { return WaitFor([this] { return Mode() == MCI_MODE_PLAY; }); }
    std::string OpenedName()
    {
        char opened[MAX_PATH] = "";
        SendMessageA(Media(), MCIWNDM_GETFILENAMEA, sizeof opened, reinterpret_cast<LPARAM>(opened));
        return NameOf(opened);
    }
};

} // namespace

TEST_F(PlaybackTest, PlayShowsThePlayBarAtTheBottomLeftAndTheEndDisablesStop)
{
    EXPECT_FALSE(StopEnabled());
    Play(0);
    ASSERT_NE(Media(), nullptr);
    EXPECT_TRUE(StopEnabled());
    EXPECT_TRUE(Playing());

    // The bar stays at the bottom left as the view changes size.
    for (const RECT size : {RECT{0, 0, 790, 380}, RECT{0, 0, 420, 200}, RECT{0, 0, 700, 390}}) {
        view.MoveWindow(size);
        UpdateWindow(view);
        RECT media{};
        GetWindowRect(Media(), &media);
        MapWindowPoints(nullptr, view, reinterpret_cast<POINT*>(&media), 2);
        EXPECT_EQ(media.left, 0);
        EXPECT_EQ(media.bottom, view.GetClientRect().bottom);
        EXPECT_EQ(list.GetWindowRect().right - list.GetWindowRect().left, view.GetClientRect().right);
    }

    EXPECT_TRUE(WaitFor([this] { return !StopEnabled(); })); // the 40 frames end
    EXPECT_NE(Mode(), MCI_MODE_PLAY);
    EXPECT_EQ(g_errorBoxes, 0);
}

TEST_F(PlaybackTest, PlayWhilePlayingOpensTheNewFileInTheSameWindow)
{
    Play(0);
    HWND media = Media();
    ASSERT_TRUE(Playing());
    Play(1);
    EXPECT_EQ(Media(), media);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(OpenedName(), "b.mp3");
    EXPECT_TRUE(StopEnabled());
    EXPECT_EQ(g_errorBoxes, 0);
}

// Stop stays enabled while a file is paused or failed to play (the media window shows its own
// error), and Stop disables itself; Play starts again after it.
TEST_F(PlaybackTest, PauseAndFailureKeepStopAndStopThenPlayStartsAgain)
{
    Play(0);
    ASSERT_TRUE(Playing());
    SendMessageA(Media(), MCI_PAUSE, 0, 0);
    EXPECT_TRUE(WaitFor([this] { return Mode() == MCI_MODE_PAUSE; }));
    PumpMessages();
    EXPECT_TRUE(StopEnabled());
    Command(ID_TOOLS_STOP);
    EXPECT_FALSE(StopEnabled());
    EXPECT_NE(Mode(), MCI_MODE_PAUSE);
    Command(ID_TOOLS_PLAY);
    EXPECT_TRUE(StopEnabled());
    EXPECT_TRUE(Playing());

    Play(2);
    EXPECT_TRUE(WaitFor([] { return g_errorBoxes > 0; }));
    EXPECT_TRUE(StopEnabled());
    Command(ID_TOOLS_STOP);
    EXPECT_FALSE(StopEnabled());
}

// The file that plays can be renamed from its tag and closed: the list, the disk and the
// summary agree, and playback goes on until Stop.
TEST_F(PlaybackTest, ThePlayingFileCanBeRenamedAndClosed)
{
    view.FormatDlg().SetFormat("[title]-x.mp3");
    Play(0);
    ASSERT_TRUE(Playing());
    boxes.Answer({IDYES, IDOK});
    Command(ID_FILE_RENAME);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    const bool renamed = boxes.Shown()[1].text == shown::RenameSummary(1, 0, 0, 0);
    EXPECT_TRUE(renamed || boxes.Shown()[1].text == shown::RenameSummary(0, 0, 0, 1)) << boxes.Shown()[1].text;
    const std::string now = renamed ? "a.mp3-x.mp3" : "a.mp3";
    EXPECT_EQ(list.GetItemText(0, 0), now);
    EXPECT_TRUE(FileExists(dir / now));
    EXPECT_EQ(FileExists(dir / "a.mp3"), !renamed);
    EXPECT_TRUE(StopEnabled());

    Select({0});
    Command(ID_FILE_CLOSE);
    EXPECT_EQ(Column(0), (Texts{"b.mp3", "text.mp3"}));
    EXPECT_TRUE(StopEnabled());
    EXPECT_TRUE(Playing());
    Command(ID_TOOLS_STOP);
    EXPECT_FALSE(StopEnabled());
    EXPECT_NE(Mode(), MCI_MODE_PLAY);
    EXPECT_EQ(g_errorBoxes, 0);
}
