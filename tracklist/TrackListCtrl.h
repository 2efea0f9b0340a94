#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "tracklist/CellEditors.h"
#include "tracklist/RenameCellInfo.h"
#include "tracklist/TrackCollection.h"
#include "tracklist/TrackListHost.h"

class CMp3File;
class CNameFormat;

// The list of loaded files: one row per file, showing its name and the seven tag fields. The
// work is the collection's; the list shows its outcome in cells, selection and colours, and
// keeps row i showing the collection's record i.
class CTrackListCtrl : public CListCtrl, private ICellEditorOwner
{
public:
    enum Column { COL_FILENAME, COL_TITLE, COL_ARTIST, COL_ALBUM, COL_GENRE, COL_YEAR, COL_TRACK,
                  COL_COMMENT, COLUMN_COUNT };
    static constexpr COLORREF MODIFIED_COLOR = RGB(255, 215, 215);

    explicit CTrackListCtrl(const CDiskOps& disk = CDiskOps::System()) : m_tracks(disk) {}
    ~CTrackListCtrl() override;

    void InitList(const TrackListSetup& setup);
    // Loads the paths as new rows; the host shows the new count.
    LoadResult AddFiles(const std::vector<std::string>& paths);
    void DeleteAllTracks();
    // Writes every modified tag; returns how many writes failed.
    int WriteTags();
    BOOL RemoveTrack(int row);
    // Removes the rows (ascending) with one repaint.
    void RemoveRows(const std::vector<int>& rows);
    static std::string FileNameFromPath(const std::string& path);

    // Opens the in-place editor over a cell; null when the cell cannot be edited.
    CWnd* EditCell(int row, int column);
    // Ends an open in-place edit now, as a focus loss would (the edit lands in its own row).
    void EndEdit();
    // The row under a client point, or -1; the column under it goes to *column.
    int HitTestCell(POINT point, int* column = nullptr) const;
    // Group edits of the selected rows.
    void BatchSetText(UINT id, const std::string& text);
    void BatchSetNumber(UINT id, int value);
    // The open in-place editor, or null.
    CWnd* Editor() const { return m_pEditor; }

    // Renames each selected file from its tag; deselects the renamed and the already named.
    RenameRun RenameSelected(const CNameFormat& builder);
    // Hands a File Name edit to the rename, which runs once the message is handled.
    void PostRenameCell(int row, const std::string& oldText, const std::string& newText);
    // Handles at once the rename requests waiting in the queue.
    void RunPostedRenames();

    // The row's track; null for a row that does not exist.
    CMp3File* GetTrack(int row) const;
    // The row showing the track, or -1.
    int FindRow(const CMp3File* track) const;
    std::vector<int> SelectedRows() const;
    // Gives the list the keyboard focus and activates its window.
    void FocusList();
    const CModifiedTracks& ModifiedTracks() const { return m_tracks.Modified(); }
    CTrackCollection& Tracks() { return m_tracks; }

    static int s_lastClickRow;
    static int s_sortColumn;
    static int s_sortAscending;

protected:
    void OnDropFiles(HDROP drop);
    void OnColumnClick(NMHDR* hdr, LRESULT* result);
    void OnCustomDraw(NMHDR* hdr, LRESULT* result);
    void OnRButtonDown(UINT flags, POINT point);
    void OnLButtonDown(UINT flags, POINT point);
    void OnEndLabelEdit(NMHDR* hdr, LRESULT* result);
    void OnHScroll(UINT code, UINT pos, HWND scrollBar);
    void OnVScroll(UINT code, UINT pos, HWND scrollBar);
    void OnMouseWheel(UINT keys, short delta, POINT point);
    LRESULT OnRenameCell(WPARAM info, LPARAM);

    CWnd* m_pEditor = nullptr;
    CImageList m_imageList;

private:
    void EditorGone(CWnd* editor) override;
    // Rename requests posted and not yet handled; a request whose track goes is dropped.
    std::vector<std::unique_ptr<RenameCellInfo>> m_pendingRenames;
    std::unique_ptr<RenameCellInfo> TakePendingRename(const RenameCellInfo* info);

    void InsertRows(const LoadResult& loaded, const std::vector<std::string>& paths);
    void SetTagCells(int row, const CMp3File& track);
    void ShowFieldOfSelected(TagField field);
    void TakeFocusBeforeScrolling();
    void StoreCellEdit(int row, int column, const std::string& text, const NMLVDISPINFOA& info);
    bool AddIconOf(const std::string& path);
    void ShowFileCount();

    CTrackCollection m_tracks;
    TrackListSetup m_setup;

    DECLARE_MESSAGE_MAP()
};

// The Track cell of a loaded row: the number, empty for 0.
std::string TrackCellText(int track);
