#include "TrackListCtrl.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "app/resource.h"
#include "framework/Menu.h"
#include "model/GenreTable.h"
#include "model/Mp3File.h"
#include "model/PathText.h"
#include "model/TrackNumber.h"
#include "rename/NameFormat.h"

int CTrackListCtrl::s_lastClickRow = -1;
int CTrackListCtrl::s_sortColumn = -1;
int CTrackListCtrl::s_sortAscending = 1;

namespace {

const char* const ColumnHeadings[CTrackListCtrl::COLUMN_COUNT] = {
    "File Name", "Title", "Artist", "Album", "Genre", "Year", "Track", "Comment",
};

constexpr size_t ICON_PATH_BUFFER = 256;

// The tag field a column shows; TF_NONE for the File Name column.
TagField FieldOfColumn(int column)
{
    return column > CTrackListCtrl::COL_FILENAME && column < CTrackListCtrl::COLUMN_COUNT
               ? static_cast<TagField>(column - 1)
               : TF_NONE;
}

int ColumnOfBatch(UINT id)
{
    switch (id) {
    case ID_BATCH_TITLE: return CTrackListCtrl::COL_TITLE;
    case ID_BATCH_ARTIST: return CTrackListCtrl::COL_ARTIST;
    case ID_BATCH_ALBUM: return CTrackListCtrl::COL_ALBUM;
    case ID_BATCH_GENRE: return CTrackListCtrl::COL_GENRE;
    case ID_BATCH_YEAR: return CTrackListCtrl::COL_YEAR;
    case ID_BATCH_TRACK: return CTrackListCtrl::COL_TRACK;
    case ID_BATCH_COMMENT: return CTrackListCtrl::COL_COMMENT;
    default: return -1;
    }
}

using RowPositions = std::unordered_map<LPARAM, int>;

int CALLBACK CompareByPosition(LPARAM first, LPARAM second, LPARAM positions)
{
    const auto& position = *reinterpret_cast<const RowPositions*>(positions);
    return position.at(first) - position.at(second);
}

std::vector<size_t> AsIndexes(const std::vector<int>& rows)
{
    return std::vector<size_t>(rows.begin(), rows.end());
}

} // namespace

std::string TrackCellText(int track)
{
    return track == 0 ? std::string() : std::to_string(track);
}

BEGIN_MESSAGE_MAP(CTrackListCtrl, CListCtrl)
    ON_WM_DROPFILES()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_MESSAGE(WM_RENAMECELL, OnRenameCell)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

CTrackListCtrl::~CTrackListCtrl()
{
    // The editors go with the list's window while the list is still whole: they report to it.
    if (m_hWnd)
        DestroyWindow();
}

void CTrackListCtrl::InitList(const TrackListSetup& setup)
{
    m_setup = setup;
    DragAcceptFiles(m_hWnd, TRUE);
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);

    const int width = setup.widthForColumns / COLUMN_COUNT;
    for (int column = 0; column < COLUMN_COUNT; ++column)
        InsertColumn(column, ColumnHeadings[column], LVCFMT_LEFT, width, column);

    m_imageList.Create(16, 16, ILC_COLOR8, 0, 4);
    SetImageList(m_imageList, LVSIL_SMALL);
}

LoadResult CTrackListCtrl::AddFiles(const std::vector<std::string>& paths)
{
    LoadResult loaded;
    {
        CWaitCursor wait;
        loaded = m_tracks.Load(paths);
        InsertRows(loaded, paths);
    }
    ShowFileCount();
    return loaded;
}

// The rows show the names as given: a file that could not be read has no path of its own.
void CTrackListCtrl::InsertRows(const LoadResult& loaded, const std::vector<std::string>& paths)
{
    CRedrawOff redrawOff(*this);
    // The shell is asked for the icon once per call at most, even when it has none.
    bool iconAsked = m_imageList.GetImageCount() > 0;
    std::vector<size_t> failed;
    size_t index = loaded.firstRow;
    for (const std::string& path : paths) {
        if (!HasMp3Ending(path))
            continue;
        if (!iconAsked)
            iconAsked = AddIconOf(path);
        CMp3File* track = m_tracks.At(index++);
        const int row = InsertItem(GetItemCount(), FileNameFromPath(path), reinterpret_cast<LPARAM>(track));
        if (row < 0)
            failed.push_back(index - 1); // no row shows it: the collection drops it too
        else
            SetTagCells(row, *track);
    }
    m_tracks.Remove(failed);
}

void CTrackListCtrl::SetTagCells(int row, const CMp3File& track)
{
    SetItemText(row, COL_TITLE, track.GetTitle());
    SetItemText(row, COL_ARTIST, track.GetArtist());
    SetItemText(row, COL_ALBUM, track.GetAlbum());
    SetItemText(row, COL_GENRE, GetGenreName(track.GetGenre()));
    SetItemText(row, COL_YEAR, track.GetYear());
    SetItemText(row, COL_TRACK, TrackCellText(track.GetTrack()));
    SetItemText(row, COL_COMMENT, track.GetComment());
}

void CTrackListCtrl::ShowFileCount()
{
    if (m_setup.host)
        m_setup.host->ShowFileCount(GetItemCount());
}

// The one icon that every row shows: the one the shell associates with the first file, or the
// shell's plain document icon when it associates none (as Windows itself answers then).
// False when the path is too long to ask about.
bool CTrackListCtrl::AddIconOf(const std::string& path)
{
    if (path.size() >= ICON_PATH_BUFFER)
        return false; // the shell call takes a buffer of this size, which it may write into
    char buffer[ICON_PATH_BUFFER];
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    WORD index = 0;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    HICON icon = ExtractAssociatedIconA(instance, buffer, &index);
    if (!icon)
        icon = ExtractIconA(instance, "shell32.dll", 0);
    if (icon) {
        m_imageList.Add(icon);
        DestroyIcon(icon); // the image list keeps its own copy
    }
    return true;
}

void CTrackListCtrl::OnDropFiles(HDROP drop)
{
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> paths;
    for (UINT i = 0; i < count; ++i) {
        // The copy into a short buffer is cut, not refused, so the length is asked first: a cut
        // path could name another file.
        char path[ICON_PATH_BUFFER];
        if (DragQueryFileA(drop, i, nullptr, 0) >= sizeof path)
            continue;
        const UINT length = DragQueryFileA(drop, i, path, sizeof path);
        paths.emplace_back(path, length);
    }
    DragFinish(drop);
    if (m_setup.host)
        m_setup.host->FilesDropped(paths);
}

std::string CTrackListCtrl::FileNameFromPath(const std::string& path)
{
    return NameOf(path);
}

CMp3File* CTrackListCtrl::GetTrack(int row) const
{
    return row < 0 ? nullptr : reinterpret_cast<CMp3File*>(GetItemData(row));
}

std::vector<int> CTrackListCtrl::SelectedRows() const
{
    std::vector<int> rows;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row != -1; row = GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

void CTrackListCtrl::DeleteAllTracks()
{
    EndEdit();
    m_pendingRenames.clear();
    DeleteAllItems();
    m_tracks.Clear();
}

void CTrackListCtrl::OnColumnClick(NMHDR* hdr, LRESULT* result)
{
    const int column = reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem;
    EndEdit(); // the edit goes into its own row before the rows move
    s_sortAscending = column == s_sortColumn ? !s_sortAscending : 1;
    s_sortColumn = column;
    m_tracks.Sort(FieldOfColumn(column), s_sortAscending != 0);
    // The rows follow the collection's new order; selection and focus move with their files.
    RowPositions position;
    position.reserve(m_tracks.Count());
    for (size_t row = 0; row < m_tracks.Count(); ++row)
        position.emplace(reinterpret_cast<LPARAM>(m_tracks.At(row)), static_cast<int>(row));
    SortItems(&CompareByPosition, reinterpret_cast<LPARAM>(&position));
    s_lastClickRow = -1; // another file sits in the remembered row now
    *result = 0;
}

void CTrackListCtrl::OnCustomDraw(NMHDR* hdr, LRESULT* result)
{
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT: {
        const CMp3File* track = GetTrack(static_cast<int>(draw->nmcd.dwItemSpec));
        if (track && track->IsModified())
            draw->clrTextBk = MODIFIED_COLOR;
        *result = CDRF_DODEFAULT;
        break;
    }
    default:
        *result = 0;
        break;
    }
}

// A right click opens the context menu and leaves the selection as it was.
void CTrackListCtrl::OnRButtonDown(UINT, POINT point)
{
    CMenu menu;
    CMenu batch;
    menu.AppendItem(ID_FILE_OPEN, "Open");
    menu.AppendItem(ID_FILE_CLOSE, "Close");
    menu.AppendSeparator();
    menu.AppendItem(ID_FILE_RENAME, "Rename Files");
    menu.AppendSeparator();
    batch.AppendItem(ID_BATCH_TITLE, "Title");
    batch.AppendItem(ID_BATCH_ARTIST, "Artist");
    batch.AppendItem(ID_BATCH_ALBUM, "Album");
    batch.AppendItem(ID_BATCH_GENRE, "Genre");
    batch.AppendItem(ID_BATCH_YEAR, "Year");
    batch.AppendItem(ID_BATCH_TRACK, "Track");
    batch.AppendItem(ID_BATCH_COMMENT, "Comment");
    menu.AppendSubMenu(batch, "Batch-Edit Tag");

    ClientToScreen(m_hWnd, &point);
    SetForegroundWindow(m_hWnd);
    menu.TrackPopupMenu(0, point, m_setup.menuOwner ? m_setup.menuOwner : GetParent());
}

int CTrackListCtrl::WriteTags()
{
    EndEdit();
    const int failed = static_cast<int>(m_tracks.WriteModified().size());
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return failed;
}

BOOL CTrackListCtrl::RemoveTrack(int row)
{
    if (!GetTrack(row))
        return FALSE;
    RemoveRows({row});
    return TRUE;
}

void CTrackListCtrl::RemoveRows(const std::vector<int>& rows)
{
    EndEdit();
    s_lastClickRow = -1;
    CRedrawOff redrawOff(*this);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const CMp3File* track = GetTrack(*it);
        // A rename request for this file must not reach the file that takes its row.
        for (auto request = m_pendingRenames.begin(); request != m_pendingRenames.end();)
            request = (*request)->track == track ? m_pendingRenames.erase(request) : request + 1;
        DeleteItem(*it);
    }
    m_tracks.Remove(AsIndexes(rows));
}

int CTrackListCtrl::FindRow(const CMp3File* track) const
{
    if (!track)
        return -1;
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(track);
    return static_cast<int>(SendMessage(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void CTrackListCtrl::FocusList()
{
    ::SetActiveWindow(::GetAncestor(m_hWnd, GA_ROOT));
    SetFocus();
}

RenameRun CTrackListCtrl::RenameSelected(const CNameFormat& builder)
{
    const std::vector<int> rows = SelectedRows();
    const RenameRun run = m_tracks.Rename(AsIndexes(rows), builder);
    for (size_t i = 0; i < rows.size(); ++i) {
        const RenameOutcome outcome = run.outcomes[i];
        if (outcome == RENAME_DONE)
            SetItemText(rows[i], COL_FILENAME, run.names[i]);
        if (outcome == RENAME_DONE || outcome == RENAME_ALREADY_NAMED)
            SetItemState(rows[i], 0, LVIS_SELECTED);
    }
    return run;
}

void CTrackListCtrl::PostRenameCell(int row, const std::string& oldText, const std::string& newText)
{
    m_pendingRenames.push_back(std::make_unique<RenameCellInfo>(RenameCellInfo{oldText, newText, row, GetTrack(row)}));
    if (!PostMessage(WM_RENAMECELL, reinterpret_cast<WPARAM>(m_pendingRenames.back().get()))) {
        m_pendingRenames.pop_back();
        SetItemText(row, COL_FILENAME, oldText);
    }
}

void CTrackListCtrl::RunPostedRenames()
{
    MSG msg;
    while (!m_pendingRenames.empty() && PeekMessageA(&msg, m_hWnd, WM_RENAMECELL, WM_RENAMECELL, PM_REMOVE))
        DispatchMessageA(&msg);
}

std::unique_ptr<RenameCellInfo> CTrackListCtrl::TakePendingRename(const RenameCellInfo* info)
{
    for (auto it = m_pendingRenames.begin(); it != m_pendingRenames.end(); ++it) {
        if (it->get() == info) {
            std::unique_ptr<RenameCellInfo> taken = std::move(*it);
            m_pendingRenames.erase(it);
            return taken;
        }
    }
    return nullptr;
}

LRESULT CTrackListCtrl::OnRenameCell(WPARAM wParam, LPARAM)
{
    const std::unique_ptr<RenameCellInfo> info = TakePendingRename(reinterpret_cast<RenameCellInfo*>(wParam));
    if (!info)
        return 0; // dropped: its row went before the request arrived
    // Rows move when sorted: the request follows its file, and is stale once the cell changed.
    const int row = FindRow(info->track);
    if (row < 0 || GetItemText(row, COL_FILENAME) != info->newText)
        return 0;
    if (!m_setup.host || !m_setup.host->ConfirmCellRename()) {
        SetItemText(row, COL_FILENAME, info->oldText);
        return 0;
    }
    if (!m_tracks.RenameTo(*info->track, info->newText)) {
        m_setup.host->CellRenameFailed();
        SetItemText(row, COL_FILENAME, info->oldText);
    }
    return 0;
}

void CTrackListCtrl::OnLButtonDown(UINT, POINT point)
{
    Default();
    int column = 0;
    const int row = HitTestCell(point, &column);
    if (row < 0)
        return;
    if (GetItemState(row, LVIS_FOCUSED) & LVIS_FOCUSED) {
        if (row == s_lastClickRow) {
            m_pEditor = EditCell(row, column);
            return;
        }
        s_lastClickRow = row;
    }
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int CTrackListCtrl::HitTestCell(POINT point, int* column) const
{
    const int hit = HitTest(point);
    if (column)
        *column = 0;
    if ((GetStyle() & LVS_TYPEMASK) != LVS_REPORT)
        return hit;

    const int first = GetTopIndex();
    const int last = std::min(first + GetCountPerPage(), GetItemCount() - 1);
    const int columns = GetColumnCount();
    for (int row = first; row <= last; ++row) {
        RECT bounds{};
        GetItemRect(row, bounds, LVIR_BOUNDS);
        if (!PtInRect(&bounds, point))
            continue;
        int left = bounds.left;
        for (int c = 0; c < columns; ++c) {
            const int width = GetColumnWidth(c);
            if (point.x >= left && point.x <= left + width) {
                if (column)
                    *column = c;
                return row;
            }
            left += width;
        }
    }
    return -1;
}

CWnd* CTrackListCtrl::EditCell(int row, int column)
{
    EndEdit();
    if (!EnsureVisible(row, true))
        return nullptr;
    if (column >= GetColumnCount() || GetColumnWidth(column) < 5)
        return nullptr;
    const CMp3File* track = GetTrack(row);
    if (!track)
        return nullptr;

    int offset = 0;
    for (int c = 0; c < column; ++c)
        offset += GetColumnWidth(c);
    RECT bounds{};
    GetItemRect(row, bounds, LVIR_BOUNDS);
    const RECT client = GetClientRect();
    const int columnLeft = bounds.left + offset;
    if (columnLeft < 0 || columnLeft > client.right) {
        Scroll(columnLeft, 0);
        bounds.left -= columnLeft;
    }

    DWORD align = 0;
    switch (GetColumnFormat(column) & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: align = ES_RIGHT; break;
    case LVCFMT_CENTER: align = ES_CENTER; break;
    default: break;
    }
    RECT rect = bounds;
    rect.left = bounds.left + offset + 4;
    rect.right = std::min<LONG>(rect.left + GetColumnWidth(column) - 3, client.right);

    if (column == COL_GENRE) {
        auto* combo = new CCellCombo(*this, row, column, GetGenreName(track->GetGenre()));
        rect.bottom += 80;
        if (!combo->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT | align, rect,
                           m_hWnd, IDC_CELLCOMBO)) {
            delete combo; // a window that failed to be created never reaches PostNcDestroy
            return nullptr;
        }
        return m_pEditor = combo;
    }
    auto* edit = new CCellEdit(*this, row, column, GetItemText(row, column));
    if (!edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | align, rect, m_hWnd, IDC_CELLEDIT)) {
        delete edit;
        return nullptr;
    }
    return m_pEditor = edit;
}

void CTrackListCtrl::EndEdit()
{
    if (auto* editor = dynamic_cast<ICellEditor*>(m_pEditor))
        editor->EndEdit();
}

void CTrackListCtrl::EditorGone(CWnd* editor)
{
    if (m_pEditor == editor)
        m_pEditor = nullptr;
}

void CTrackListCtrl::OnEndLabelEdit(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    const auto& info = *reinterpret_cast<NMLVDISPINFOA*>(hdr);
    const int row = info.item.iItem;
    const int column = info.item.iSubItem;
    // A report that arrives after its row or its track went (the program closing) is dropped.
    if (!GetTrack(row) || column < 0 || column >= COLUMN_COUNT || !info.item.pszText)
        return;
    const std::string oldText = GetItemText(row, column);
    const std::string text = info.item.pszText;
    SetItemText(row, column, text);
    if (column == COL_FILENAME)
        PostRenameCell(row, oldText, text);
    else
        StoreCellEdit(row, column, text, info);
    RECT bounds{};
    if (GetItemRect(row, bounds, LVIR_BOUNDS))
        ::InvalidateRect(m_hWnd, &bounds, FALSE);
}

void CTrackListCtrl::StoreCellEdit(int row, int column, const std::string& text, const NMLVDISPINFOA& info)
{
    const std::vector<size_t> rows = {static_cast<size_t>(row)};
    const TagField field = FieldOfColumn(column);
    if (field == TF_GENRE) {
        m_tracks.SetNumber(field, rows, static_cast<int>(info.item.lParam));
    } else if (field == TF_TRACK) {
        // The cell shows the number that will be written, as loading does.
        const int value = ClampTrack(ParseTrackNumber(text));
        SetItemText(row, column, TrackCellText(value));
        if (value != GetTrack(row)->GetTrack())
            m_tracks.SetNumber(field, rows, value);
    } else {
        m_tracks.SetText(field, rows, text);
    }
}

void CTrackListCtrl::TakeFocusBeforeScrolling()
{
    // An open editor loses the focus and ends its edit before the rows move under it.
    if (::GetFocus() != m_hWnd)
        SetFocus();
}

void CTrackListCtrl::OnHScroll(UINT, UINT, HWND)
{
    TakeFocusBeforeScrolling();
    Default();
}

void CTrackListCtrl::OnVScroll(UINT, UINT, HWND)
{
    TakeFocusBeforeScrolling();
    Default();
}

// The wheel scrolls without WM_VSCROLL, so the edit ends here first.
void CTrackListCtrl::OnMouseWheel(UINT, short, POINT)
{
    EndEdit();
    Default();
}

void CTrackListCtrl::BatchSetText(UINT id, const std::string& text)
{
    const int column = ColumnOfBatch(id);
    if (column < 0 || column == COL_GENRE || column == COL_TRACK)
        return;
    EndEdit();
    const std::vector<int> rows = SelectedRows();
    m_tracks.SetText(FieldOfColumn(column), AsIndexes(rows), text);
    for (int row : rows)
        SetItemText(row, column, text);
}

void CTrackListCtrl::BatchSetNumber(UINT id, int value)
{
    // "<none>" in the genre dialog (-1) changes nothing, so nothing becomes modified.
    const int column = ColumnOfBatch(id);
    if ((column != COL_TRACK && column != COL_GENRE) || (column == COL_GENRE && value == -1))
        return;
    EndEdit();
    const std::vector<int> rows = SelectedRows();
    m_tracks.SetNumber(FieldOfColumn(column), AsIndexes(rows), value);
    const std::string text = column == COL_TRACK ? std::to_string(ClampTrack(value)) : GetGenreName(value);
    for (int row : rows)
        SetItemText(row, column, text);
}
