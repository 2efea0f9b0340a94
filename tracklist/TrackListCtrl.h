#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "tracklist/ModifiedTracks.h"
#include "tracklist/RenameCellInfo.h"

class CMp3File;
class CNameFormat;

// The main window shows how many files are loaded; the list reaches it as the application's
// main window.
class IFileCountDisplay
{
public:
    virtual void ShowFileCount(int count) = 0;

protected:
    ~IFileCountDisplay() = default;
};

// The list of loaded files: one row per file, showing its name and the seven tag fields. Each
// row owns its CMp3File through the row's item data.
class CTrackListCtrl : public CListCtrl
{
public:
    enum Column { COL_FILENAME, COL_TITLE, COL_ARTIST, COL_ALBUM, COL_GENRE, COL_YEAR, COL_TRACK,
                  COL_COMMENT, COLUMN_COUNT };
    static constexpr COLORREF MODIFIED_COLOR = RGB(255, 215, 215);

    CTrackListCtrl() = default;
    ~CTrackListCtrl() override = default;

    void InitList();
    void AddFiles(const std::vector<std::string>& paths);
    void DeleteAllTracks();
    void WriteTags();
    BOOL RemoveTrack(int row);
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
    // Called by an editor as its window goes.
    void EditorGone(CWnd* editor);

    // Renames each selected file from its tag; shows one summary. Returns the renamed count.
    int RenameSelected(const CNameFormat& builder);
    // Hands a File Name edit to the rename, which runs once the message is handled.
    void PostRenameCell(int row, const std::string& oldText, const std::string& newText);
    // Handles at once the rename requests waiting in the queue.
    void RunPostedRenames();

    // The row's track; null for a row whose track was released or a row that does not exist.
    CMp3File* GetTrack(int row) const;
    // The row showing the track, or -1.
    int FindRow(const CMp3File* track) const;
    // Gives the list the keyboard focus and activates its window.
    void FocusList();
    const CModifiedTracks& ModifiedTracks() const { return m_modifiedTracks; }

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
    static int CALLBACK CompareTracks(LPARAM first, LPARAM second, LPARAM sortParams);

    CWnd* m_pEditor = nullptr;
    CImageList m_imageList;
    CModifiedTracks m_modifiedTracks;

private:
    // Rename requests posted and not yet handled; a request whose track goes is dropped.
    std::vector<std::unique_ptr<RenameCellInfo>> m_pendingRenames;
    std::unique_ptr<RenameCellInfo> TakePendingRename(const RenameCellInfo* info);

    void SetTagCells(int row, const CMp3File& track);
    void TakeFocusBeforeScrolling();
    void StoreCellEdit(int row, int column, const std::string& text, const NMLVDISPINFOA& info);
    bool AddIconOf(const std::string& path);

    DECLARE_MESSAGE_MAP()
};

// One sort: the direction and the column whose key orders the rows.
struct SortParams
{
    int ascending;
    int column;
};

// The Track cell of a loaded row: the number, empty for 0.
std::string TrackCellText(int track);
