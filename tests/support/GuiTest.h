#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/resource.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "support/TestFiles.h"
#include "tracklist/TrackListCtrl.h"
#include "view/TrackView.h"

// The texts the program shows in its message boxes and status bar, as a user reads them, typos
// included; each is written here once.
namespace shown {
constexpr char CONFIRM_EXIT[] = "MP3 Tags have been modified and not saved. Are you sure you want to exit without saving?";
constexpr char CONFIRM_REMOVE[] = "File has been modified. Are you sure you want to remove it without saving?";
constexpr char CONFIRM_WRITE[] = "Proceed with renaming modified tags? All previous information will be lost.";
constexpr char CONFIRM_RENAME[] = "Are you sure you want to permenantly rename selected files?";
constexpr char CONFIRM_RENAME_ONE[] = "Are you sure you want to rename this file? This action is permanent.";
constexpr char RENAME_FAILED[] = "File could not be renamed. Make sure a file with the same name does not already exist.";
constexpr char INVALID_FILES[] = "One or more files were not valid MP3 files. They were not added.";
constexpr char TOO_MANY_FILES[] = "Too many files were selected at once. No files were loaded; select fewer files at a time.";
constexpr char FORMAT_INVALID[] = "The file name format is invalid. Make sure all tags are surronded by brackets "
                                  "(ex. [title] ) and there is at least one tag.";
constexpr char FORMAT_NOT_SAVED[] = "The file name format could not be saved. It applies only until Quillfox is closed.";
constexpr char OPEN_PROMPT[] = "Open MP3 Files to Rename ";
std::string WriteFailed(int count);
std::string RenameSummary(int renamed, int named, int exists, int skipped);
} // namespace shown

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
    void Answer(std::initializer_list<int> answers) { m_answers.insert(m_answers.end(), answers); }
    const std::vector<ShownBox>& Shown() const { return m_shown; }
    Texts ShownTexts() const;
    void Clear() { m_shown.clear(); }

private:
    std::deque<int> m_answers;
    std::vector<ShownBox> m_shown;
    MessageBoxHandler m_previous;
};

// A top-level window that plays the main window for a control under test: it owns the control
// as a child, hands notifications back to it, and records what its status bar would show.
class CTestHost : public CWnd, public IStatusDisplay
{
public:
    // Creates a visible window whose client area has the given size.
    explicit CTestHost(int clientWidth = 803, int clientHeight = 400);
    ~CTestHost() override;

    void ShowFileCount(int count, int = 0) override { m_fileCounts.push_back(count); }
    void ShowMessage(const std::string& text) override { m_messages.push_back(text); }
    void ShowIdleMessage() override {}
    std::vector<int> m_fileCounts;
    Texts m_messages;
    // Commands that reached the host (from the context menu, say).
    std::vector<UINT> m_commands;

protected:
    BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI) override;
};

// The application object of a window test: the host is its main window.
class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("Quillfox") {}
};

// The common ground of window tests: the application, a host that plays its main window and a
// message-box script.
class HostFixture : public ::testing::Test
{
protected:
    CTestApp app;
    CTestHost host;
    CMessageBoxScript boxes;

    void SetUp() override { app.m_pMainWnd = &host; }
};

// The track view and its list in the host, as the frame makes them, with a fresh folder.
class TrackListFixture : public HostFixture
{
protected:
    explicit TrackListFixture(const CDiskOps& disk = CDiskOps::System()) : view(disk) {}

    CTempDir dir;
    CTrackView view;
    CTrackListCtrl& list = view.List();

    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(view.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 790, 380}, host,
                                  AFX_IDW_PANE_FIRST));
        ASSERT_TRUE(view.CreateList(host, host, host.GetClientRect().right));
        list.MoveWindow(RECT{0, 0, 790, 380}, TRUE);
    }

    // Writes a file tagged with a title and an artist; returns its path.
    std::string Song(const std::string& name, const std::string& title, const std::string& artist = "")
    {
        WriteMp3(dir / name, 1, TagBytes().Put(TITLE, title).Put(ARTIST, artist));
        return dir / name;
    }
    // The texts of one column, top to bottom.
    Texts Column(int column) const
    {
        Texts cells;
        for (int row = 0; row < list.GetItemCount(); ++row)
            cells.push_back(list.GetItemText(row, column));
        return cells;
    }
    void Select(std::initializer_list<int> rows)
    {
        list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows)
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    bool Selected(int row) const { return list.GetItemState(row, LVIS_SELECTED) != 0; }
    void Command(UINT id) { view.SendMessage(WM_COMMAND, id); }
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

// Holds keys down for this thread (as the keyboard state that key handlers read) while it lives.
class CHeldKeys
{
public:
    CHeldKeys(std::initializer_list<int> keys, BYTE state = 0x80);
    ~CHeldKeys();

private:
    BYTE m_before[256];
};

// One item of a pop-up menu: its text ("-" for a separator, sub-menu items indented by two
// blanks), its command (0 for separators and sub-menus) and whether it is enabled.
struct MenuItem
{
    std::string text;
    UINT id;
    bool enabled;
};

// Runs open, which opens a pop-up menu; reads the menu from inside its loop, then chooses the
// pick-th top item that the keyboard reaches (0 for the first; -1 closes the menu).
std::vector<MenuItem> ReadPopupMenu(const std::function<void()>& open, int pick = -1);
