#pragma once
#include "dialogs/NameFormatDlg.h"
#include "tracklist/TrackListCtrl.h"
#include "view/RunPump.h"

// The frame's one client window: hosts the track list, holds the file-name format in force and
// the playback state, and carries out and enables the program's file, edit, options and tools
// commands. Its handlers ask the user and report what the list did.
class CTrackView : public CWnd, private ITrackListHost
{
public:
    explicit CTrackView(const CDiskOps& disk = CDiskOps::System()) : m_list(disk) {}

    // Creates the list window, its columns an eighth of widthForColumns each; false when it
    // could not be made. The list's context menu sends its commands to menuOwner.
    bool CreateList(IStatusDisplay& status, HWND menuOwner, int widthForColumns);
    CTrackListCtrl& List() { return m_list; }
    CNameFormatDlg& FormatDlg() { return m_formatDlg; }

    // Ends an open in-place edit and runs at once the rename it may have asked for, so nothing
    // the user typed is lost by what follows (closing rows or the program).
    void FinishEditing();
    // Loads the files and folders and says when some paths were not MP3 files. Refused with a
    // beep while a long run goes on.
    void LoadFiles(const std::vector<std::string>& paths);

    // A long run (loading, writing, renaming, closing rows) is going on.
    bool Busy() const override { return m_pRun != nullptr; }
    // Stops the run after the file in hand; with closeAfter the main window is closed then.
    void StopRun(bool closeAfter);
    // How long a run goes before it shows its progress and lets messages through.
    DWORD m_nProgressDelayMs = 500;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnPaint();
    void OnSetFocus(HWND lost);

    void OnFileOpen();
    void OnFileAddFolder();
    void OnFileClose();
    void OnFileRename();
    void OnFileWriteTags();
    void OnEditSelectAll();
    void OnEditSelectModified();
    void OnEditFillFromId3v2();
    void OnEditUndo();
    void OnToolsTagsFromNames();
    void OnToolsNumberTracks();
    void OnLetterCase(UINT id);
    void OnEditCopy();
    void OnEditPaste();
    void OnUpdateEditUndo(CCmdUI* cmdUI);
    void OnOptionsFormat();
    void OnOptionsTagEncoding();
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
    IStatusDisplay* m_pStatus = nullptr;
    CRunPump* m_pRun = nullptr;
    bool m_bCloseAfterRun = false;

private:
    void FilesDropped(const std::vector<std::string>& paths) override { LoadFiles(paths); }
    bool ConfirmCellRename() override;
    void ShowRowNote(const std::string& note) override;
    void CellRenameFailed() override;
    // Runs work(progress) as a long run; closes the main window afterwards when asked to.
    template <class Work>
    auto RunLong(UINT text, UINT counting, Work work);

    void RedrawNow();
    CSlotEdit::FitsRule BatchFitsRule(UINT id);
    const CMp3File* ExampleTrack() const;
    void PlaceMediaWindow();

    DECLARE_MESSAGE_MAP()
};
