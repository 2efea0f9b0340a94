#pragma once
#include "framework/Controls.h"
#include "rename/NameFormat.h"
#include "tracklist/TrackListCtrl.h"

// The program's one top-level window: the track list above a status bar.
class CMainFrame : public CWnd, public IFileCountDisplay
{
public:
    CMainFrame();
    bool Create();
    void ShowFileCount(int count) override;

    CTrackListCtrl& List() { return m_list; }
    CStatusBar& StatusBar() { return m_wndStatusBar; }

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(HWND lost);
    void OnClose();
    void OnDestroy();
    void OnFileRename();
    void PostNcDestroy() override;

private:
    CStatusBar m_wndStatusBar;
    CTrackListCtrl m_list;
    CNameFormat m_format;

    DECLARE_MESSAGE_MAP()
};
