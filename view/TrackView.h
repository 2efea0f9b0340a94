#pragma once
#include "dialogs/NameFormatDlg.h"
#include "tracklist/TrackListCtrl.h"

// Where the number of loaded files is shown (the main window's status bar).
class IFileCountDisplay
{
public:
    virtual void ShowFileCount(int count) = 0;

protected:
    ~IFileCountDisplay() = default;
};

// The frame's one client window: hosts the track list, holds the file-name format in force and
// the playback state, and carries out and enables the program's file, edit, options and tools
// commands. Its handlers ask the user and report what the list did.
class CTrackView : public CWnd, private ITrackListHost
{
public:
    explicit CTrackView(const CDiskOps& disk = CDiskOps::System()) : m_list(disk) {}

    // Creates the list window, its columns an eighth of widthForColumns each; false when it
    // could not be made. The list's context menu sends its commands to menuOwner.
    bool CreateList(IFileCountDisplay& display, HWND menuOwner, int widthForColumns);
    CTrackListCtrl& List() { return m_list; }
    CNameFormatDlg& FormatDlg() { return m_formatDlg; }

    // Ends an open in-place edit and runs at once the rename it may have asked for, so nothing
    // the user typed is lost by what follows (closing rows or the program).
    void FinishEditing();
    // Loads the paths and says when some were not MP3 files.
    void LoadFiles(const std::vector<std::string>& paths);

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
    IFileCountDisplay* m_pCountDisplay = nullptr;

private:
    void FilesDropped(const std::vector<std::string>& paths) override { LoadFiles(paths); }
    bool ConfirmCellRename() override;
    void CellRenameFailed() override;
    void ShowFileCount(int count) override;

    void RedrawNow();
    void PlaceMediaWindow();

    DECLARE_MESSAGE_MAP()
};
