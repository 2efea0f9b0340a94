#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "tracklist/TrackListCtrl.h"

// What one message box showed.
struct ShownBox
{
    std::string text;
    std::string caption;
    UINT type;
};

// Answers message boxes from a script and records each one. A box with no answer left fails the
// test (and is answered with Cancel, or No for a question), so no run waits for a person.
class CMessageBoxScript
{
public:
    CMessageBoxScript();
    ~CMessageBoxScript();
    CMessageBoxScript(const CMessageBoxScript&) = delete;
    CMessageBoxScript& operator=(const CMessageBoxScript&) = delete;

    void Answer(int answer) { m_answers.push_back(answer); }
    const std::vector<ShownBox>& Shown() const { return m_shown; }
    void Clear() { m_shown.clear(); }

private:
    std::deque<int> m_answers;
    std::vector<ShownBox> m_shown;
    MessageBoxHandler m_previous;
};

// A top-level window that plays the main window for a control under test: it owns the control
// as a child, hands notifications back to it, and shows the file count.
class CTestHost : public CWnd, public IFileCountDisplay
{
public:
    // Creates a visible window whose client area has the given size.
    explicit CTestHost(int clientWidth = 803, int clientHeight = 400);
    ~CTestHost() override;

    void ShowFileCount(int count) override { m_fileCounts.push_back(count); }
    std::vector<int> m_fileCounts;
    // Commands that reached the host (from the context menu, say).
    std::vector<UINT> m_commands;
    // Keys that reached the host's keystroke pre-translation (where accelerators live).
    std::vector<WPARAM> m_keysSeen;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI) override;
};

// The application object of a window test: the host is its main window.
class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("Quillfox") {}
};

#include "support/TestFiles.h"

// A track list in a host that plays the main window, with a fresh folder and a message-box
// script: the common ground of the list tests.
template <class List = CTrackListCtrl>
class TrackListFixture : public ::testing::Test
{
protected:
    CTestApp app;
    CTestHost host;
    CTempDir dir;
    CMessageBoxScript boxes;
    List list;

    void SetUp() override
    {
        app.m_pMainWnd = &host;
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 790, 380}, host, 101));
        list.InitList();
    }
    void TearDown() override { list.DeleteAllTracks(); }

    // A click on a column header, as the header reports it: through the host to the list.
    void ClickHeader(int column)
    {
        NMLISTVIEW nm{};
        nm.hdr.hwndFrom = list;
        nm.hdr.idFrom = 101;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = column;
        host.SendMessage(WM_NOTIFY, 101, reinterpret_cast<LPARAM>(&nm));
    }
};

// Handles every waiting message through the application's own loop.
void PumpMessages();
