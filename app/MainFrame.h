#pragma once
#include <functional>
#include <string>

#include "framework/Controls.h"
#include "framework/FrameWnd.h"
#include "framework/ToolBar.h"
#include "tracklist/TrackListCtrl.h"
#include "view/TrackView.h"

// The help system's entry point (HtmlHelpA by default; a test hands in its own to watch the calls).
using HtmlHelpFunction =
    std::function<HWND(HWND caller, const std::string& file, UINT command, DWORD_PTR data)>;

// QuillfoxHlp.chm in the running program's folder, by its full path: the help system looks for a
// bare name only in the current folder and in Windows\help.
std::string HelpFileBesideProgram();
HWND SystemHtmlHelp(HWND caller, const std::string& file, UINT command, DWORD_PTR data);

// The program's one top-level window: menu, toolbar, status bar and the track view.
class CMainFrame : public CFrameWnd, public IStatusDisplay
{
public:
    CMainFrame() = default;

    void ShowFileCount(int count, int passedOver = 0) override;
    void ShowMessage(const std::string& text) override { SetMessageText(text); }
    void ShowIdleMessage() override { SetIdleMessage(); }
    // Loads paths given on the command line once the window is shown, as a drop would.
    void LoadWhenShown(std::vector<std::string> paths);
    BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI) override;

    CTrackView& View() { return m_wndView; }
    CToolBar& ToolBar() { return m_wndToolBar; }
    CStatusBar& StatusBar() { return m_wndStatusBar; }

    // The help file that Help > Contents and Index open.
    std::string m_strHelpFile = HelpFileBesideProgram();
    HtmlHelpFunction m_htmlHelp = SystemHtmlHelp;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(LPCREATESTRUCTA cs);
    void OnSetFocus(HWND lost);
    LRESULT OnLoadPaths(WPARAM, LPARAM);
    void OnClose();
    BOOL OnQueryEndSession();
    void OnHelpContents();
    void OnHelpIndex();
    // Asks before closing when tags were changed and not written: true to go on.
    bool MayClose();

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CTrackView m_wndView;
    std::vector<std::string> m_pathsToLoad;

    DECLARE_MESSAGE_MAP()
};
