#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "app/resource.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "tracklist/TrackListCtrl.h"
#include "view/TrackView.h"

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

// The track view and its list in a host that plays the main window, as the frame makes them,
// with a fresh folder and a message-box script: the common ground of the list tests.
class TrackListFixture : public ::testing::Test
{
protected:
    explicit TrackListFixture(const CDiskOps& disk = CDiskOps::System()) : view(disk) {}

    CTestApp app;
    CTestHost host;
    CTempDir dir;
    CMessageBoxScript boxes;
    CTrackView view;
    CTrackListCtrl& list = view.List();

    void SetUp() override
    {
        app.m_pMainWnd = &host;
        ASSERT_TRUE(view.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 790, 380}, host,
                                  AFX_IDW_PANE_FIRST));
        ASSERT_TRUE(view.CreateList(host, host, host.GetClientRect().right));
        list.MoveWindow(RECT{0, 0, 790, 380}, TRUE);
    }

    // A notification from the list, as the control sends it: to its parent, the view.
    LRESULT Notify(NMHDR& hdr)
    {
        hdr.hwndFrom = list;
        hdr.idFrom = IDC_TRACKLIST;
        return view.SendMessage(WM_NOTIFY, IDC_TRACKLIST, reinterpret_cast<LPARAM>(&hdr));
    }
    // A click on a column header, as the header reports it.
    void ClickHeader(int column)
    {
        NMLISTVIEW nm{};
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = column;
        Notify(nm.hdr);
    }
    // Marks a row's file as edited, as a cell edit does.
    void MarkModified(int row, const std::string& title)
    {
        list.Tracks().SetText(TF_TITLE, {static_cast<size_t>(row)}, title);
    }
};

// Handles every waiting message through the application's own loop.
void PumpMessages();

// The visible pop-up menu window of this thread, or null.
HWND FindThreadPopup();
