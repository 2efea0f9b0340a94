#pragma once
#include "framework/Controls.h"
#include "framework/FrameWnd.h"
#include "framework/ToolBar.h"
#include "tracklist/TrackListCtrl.h"
#include "view/TrackView.h"

// The program's one top-level window: menu, toolbar, status bar and the track view.
class CMainFrame : public CFrameWnd, public IFileCountDisplay
{
public:
    CMainFrame() = default;

    void ShowFileCount(int count) override;
    BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI) override;

    CTrackView& View() { return m_wndView; }
    CToolBar& ToolBar() { return m_wndToolBar; }
    CStatusBar& StatusBar() { return m_wndStatusBar; }

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(LPCREATESTRUCTA cs);
    void OnSetFocus(HWND lost);
    void OnClose();
    BOOL OnQueryEndSession();
    // Asks before closing when tags were changed and not written: true to go on.
    bool MayClose();

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CTrackView m_wndView;

    DECLARE_MESSAGE_MAP()
};
