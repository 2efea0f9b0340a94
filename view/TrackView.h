#pragma once
#include "dialogs/NameFormatDlg.h"
#include "tracklist/TrackListCtrl.h"

// The frame's one client window: hosts the track list, holds the file-name format in force and
// the playback state, and carries out and enables the program's file, edit, options and tools
// commands.
class CTrackView : public CWnd
{
public:
    CTrackView() = default;

    // Creates the list window; false when it could not be made.
    bool CreateList();
    CTrackListCtrl& List() { return m_list; }
    CNameFormatDlg& FormatDlg() { return m_formatDlg; }

    // Ends an open in-place edit and runs at once the rename it may have asked for, so nothing
    // the user typed is lost by what follows (closing rows or the program).
    void FinishEditing();

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnPaint();
    void OnSetFocus(HWND lost);

    void OnFileOpen();
    void OnFileClose();
    void OnFileRename();
    void OnFileWriteTags();
    void OnEditSelectAll();
    void OnEditSelectModified();
    void OnOptionsFormat();
    void OnToolsPlay();
    void OnToolsStop();
    LRESULT OnMciNotifyMode(WPARAM sender, LPARAM mode);
    void OnBatchEdit(UINT id);
    void OnUpdateFileOpen(CCmdUI* cmdUI);
    void OnUpdateNeedSelection(CCmdUI* cmdUI);
    void OnUpdateFileWriteTags(CCmdUI* cmdUI);
    void OnUpdateNeedRows(CCmdUI* cmdUI);
    void OnUpdateToolsPlay(CCmdUI* cmdUI);
    void OnUpdateToolsStop(CCmdUI* cmdUI);
    void OnUpdateBatchEdit(CCmdUI* cmdUI);

    CTrackListCtrl m_list;
    HWND m_hMciWnd = nullptr;
    int m_bPlaying = FALSE;
    CNameFormatDlg m_formatDlg;

private:
    void RedrawNow();
    void PlaceMediaWindow();

    DECLARE_MESSAGE_MAP()
};
