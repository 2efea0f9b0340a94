#pragma once
#include <map>
#include <memory>
#include <unordered_map>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/ToolTipCtrl.h"
#include "model/TagText.h"
#include "tracklist/CellEditors.h"
#include "tracklist/RenameCellInfo.h"
#include "tracklist/TagTable.h"
#include "tracklist/TrackCollection.h"
#include "tracklist/TrackListHost.h"

class CMp3File;
class CNameFormat;

// The list of loaded files: one row per file, showing its name and the seven tag fields. The
// work is the collection's; the list shows its outcome in cells, selection and colours. Row i
// is the collection's record i: the list keeps no copy of the rows (a virtual list), and asks
// for each cell as it paints; a cell keeps a text of its own only while it shows something
// other than its record (an edit not yet written, a name typed into it).
class CTrackListCtrl : public CListCtrl, private ICellEditorOwner
{
public:
    enum Column { COL_FILENAME, COL_TITLE, COL_ARTIST, COL_ALBUM, COL_GENRE, COL_YEAR, COL_TRACK,
                  COL_COMMENT, COLUMN_COUNT };
    static constexpr COLORREF MODIFIED_COLOR = RGB(255, 215, 215);

    explicit CTrackListCtrl(const CDiskOps& disk = CDiskOps::System()) : m_tracks(disk) {}

    // Gives the cell a text of its own (what it shows instead of its record's field).
    bool SetItemText(int row, int column, const std::string& text);
    ~CTrackListCtrl() override;

    void InitList(const TrackListSetup& setup);
    // Loads the files and folders as new rows.
    LoadResult AddFiles(const std::vector<std::string>& paths, IRunProgress* progress = nullptr);
    void DeleteAllTracks();
    // Writes every modified tag; returns how many writes failed.
    int WriteTags(IRunProgress* progress = nullptr);
    BOOL RemoveTrack(int row);
    // Removes the rows (ascending) with one repaint; returns how many went (a stopped run
    // leaves the first ones).
    size_t RemoveRows(const std::vector<int>& rows, IRunProgress* progress = nullptr);
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
    // The selected rows as a table of the cells, with the headings first.
    std::string SelectedRowsAsTable() const;
    // Sets the selected rows' tag fields from a pasted table, in row order; changes nothing
    // when the table does not fit the selection.
    TagTable PasteIntoSelected(const std::string& text);
    // Changes of the selected rows' fields, shown in their cells and colours.
    NameFillResult FillSelectedFromNames(const CNameReader& reader);
    void NumberSelectedTracks();
    void ChangeSelectedLetterCase(LetterCase letterCase);
    // Takes back the last change to rows and shows them as they are again.
    UndoResult UndoLastChange();
    // Shows every row's tag cells anew from the records (the tag code page changed).
    void ShowTagCellsAgain();
    // Fills the selected rows' fields from their files' ID3v2 tags.
    FillResult FillSelectedFromId3v2();
    // What the tip over a cell says: for a File Name cell, the tags the file has.
    std::string CellTip(int row, int column) const;
    CToolTipCtrl& CellTipCtrl() { return m_cellTip; }
    // The image list's overlay that marks files with an ID3v2 tag.
    static constexpr int ID3V2_OVERLAY = 1;

    // Renames each selected file from its tag; deselects the renamed and the already named.
    RenameRun RenameSelected(const CNameFormat& builder, IRunProgress* progress = nullptr);
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
    void OnMouseMove(UINT flags, POINT point);
    void OnItemChanged(NMHDR* hdr, LRESULT* result);
    void OnGetDispInfo(NMHDR* hdr, LRESULT* result);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    LRESULT OnRenameCell(WPARAM info, LPARAM);

    CWnd* m_pEditor = nullptr;
    CImageList m_imageList;

private:
    void EditorGone(CWnd* editor) override;
    // Rename requests posted and not yet handled; a request whose track goes is dropped.
    std::vector<std::unique_ptr<RenameCellInfo>> m_pendingRenames;
    std::unique_ptr<RenameCellInfo> TakePendingRename(const RenameCellInfo* info);

    void InsertRows(const LoadResult& loaded);
    // What a cell shows: its own text, or its record's.
    std::string CellText(int row, int column) const;
    // Drops the texts of its own of the record's cells first to last (not included).
    void ForgetCellTexts(const CMp3File* track, int first, int last = COLUMN_COUNT);
    void SetTagCells(int row, const CMp3File& track);
    void ShowFieldOfSelected(TagField field);
    void TakeFocusBeforeScrolling();
    void StoreCellEdit(int row, int column, const std::string& text, const NMLVDISPINFOA& info);
    bool AddIconOf(const std::string& path);
    bool Busy() const { return m_setup.host && m_setup.host->Busy(); }

    CTrackCollection m_tracks;
    TrackListSetup m_setup;
    CToolTipCtrl m_cellTip;
    POINT m_tipCell = {-1, -1}; // the cell (column, row) the tip speaks of
    // Why the last rename run passed a row over, until the next run, an edit of the row or its Close.
    std::unordered_map<const CMp3File*, std::string> m_skipReasons;
    bool m_bNoteShown = false;
    // The texts of cells that show something other than their record, by record and column.
    std::unordered_map<const CMp3File*, std::map<int, std::string>> m_cellTexts;
    void ForgetSkipReasons(const std::vector<int>& rows);
    template <class Change>
    auto ChangeSelected(const std::string& label, Change change);

    DECLARE_MESSAGE_MAP()
};

// The field a Batch-Edit command sets; TF_NONE for any other id.
TagField BatchField(UINT id);
