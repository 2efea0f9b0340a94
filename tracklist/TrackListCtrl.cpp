#include "TrackListCtrl.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "app/resource.h"
#include "framework/Menu.h"
#include "framework/ResString.h"
#include "framework/WideText.h"
#include "tracklist/DropList.h"
#include "model/GenreTable.h"
#include "model/Mp3File.h"
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
    const TagField field = BatchField(id);
    return field == TF_NONE ? -1 : field + 1;
}

// Why a rename run passed a file over, in words.
std::string SkipReason(RenameOutcome outcome, unsigned long error, const std::string& name)
{
    if (outcome == RENAME_NAME_EXISTS)
        return FormatResString(IDS_SKIP_NAME_EXISTS, name.c_str());
    if (name.empty())
        return LoadResString(IDS_SKIP_EMPTY_NAME);
    if (error == 0)
        return FormatResString(IDS_SKIP_UNSAFE_NAME, name.c_str());
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_ACCESS_DENIED: return LoadResString(IDS_SKIP_IN_USE);
    case ERROR_FILE_NOT_FOUND: return LoadResString(IDS_SKIP_FILE_GONE);
    case ERROR_PATH_NOT_FOUND: {
        const size_t slash = name.rfind('\\');
        return FormatResString(IDS_SKIP_NO_FOLDER, slash == std::string::npos ? "" : name.substr(0, slash).c_str());
    }
    default: return FormatResString(IDS_SKIP_REFUSED, name.c_str(), error);
    }
}

std::vector<size_t> AsIndexes(const std::vector<int>& rows)
{
    return std::vector<size_t>(rows.begin(), rows.end());
}

} // namespace

TagField BatchField(UINT id)
{
    switch (id) {
    case ID_BATCH_TITLE: return TF_TITLE;
    case ID_BATCH_ARTIST: return TF_ARTIST;
    case ID_BATCH_ALBUM: return TF_ALBUM;
    case ID_BATCH_GENRE: return TF_GENRE;
    case ID_BATCH_YEAR: return TF_YEAR;
    case ID_BATCH_TRACK: return TF_TRACK;
    case ID_BATCH_COMMENT: return TF_COMMENT;
    default: return TF_NONE;
    }
}

BEGIN_MESSAGE_MAP(CTrackListCtrl, CListCtrl)
    ON_WM_DROPFILES()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_MOUSEMOVE()
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_MESSAGE(WM_RENAMECELL, OnRenameCell)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOA, OnGetDispInfo)
END_MESSAGE_MAP()

CTrackListCtrl::~CTrackListCtrl()
{
    // The editors go with the list's window while the list is still whole: they report to it.
    if (m_hWnd)
        DestroyWindow();
}

BOOL CTrackListCtrl::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= LVS_OWNERDATA;
    return CListCtrl::PreCreateWindow(cs);
}

void CTrackListCtrl::InitList(const TrackListSetup& setup)
{
    m_setup = setup;
    DragAcceptFiles(m_hWnd, TRUE);
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);

    const int width = setup.widthForColumns / COLUMN_COUNT;
    for (int column = 0; column < COLUMN_COUNT; ++column)
        InsertColumn(column, ColumnHeadings[column], LVCFMT_LEFT, width, column);

    m_imageList.Create(16, 16, ILC_COLOR8 | ILC_MASK, 0, 4);
    SetImageList(m_imageList, LVSIL_SMALL);
    // The badge of ID3v2 files is asked for with the cells.
    SendMessage(LVM_SETCALLBACKMASK, LVIS_OVERLAYMASK);

    // One tool over the whole list; its text follows the cell under the mouse.
    m_cellTip.Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX);
    m_cellTip.AddTool(this, std::string(), RECT{0, 0, 0x7FFF, 0x7FFF}, 1);
    m_cellTip.SendMessage(TTM_SETMAXTIPWIDTH, 0, 400);
}

LoadResult CTrackListCtrl::AddFiles(const std::vector<std::string>& paths, IRunProgress* progress)
{
    LoadResult loaded;
    {
        CWaitCursor wait;
        loaded = m_tracks.Load(paths, progress);
        InsertRows(loaded);
    }
    return loaded;
}

// The rows show the names as given: a file that could not be read has no path of its own.
void CTrackListCtrl::InsertRows(const LoadResult& loaded)
{
    CRedrawOff redrawOff(*this);
    for (const auto& [row, path] : loaded.unread)
        m_cellTexts[m_tracks.At(row)][COL_FILENAME] = FileNameFromPath(path);
    // The shell is asked for the icon once per call at most, even when it has none; a path too
    // long to ask about passes the question on to the next row.
    auto unread = loaded.unread.begin();
    for (size_t row = loaded.firstRow; row < loaded.firstRow + loaded.added && m_imageList.GetImageCount() == 0;
         ++row) {
        const bool read = unread == loaded.unread.end() || unread->first != row;
        if (AddIconOf(read ? m_tracks.At(row)->GetPath() : (unread++)->second))
            break;
    }
    SendMessage(LVM_SETITEMCOUNT, m_tracks.Count(), LVSICF_NOSCROLL);
}

void CTrackListCtrl::SetTagCells(int row, const CMp3File& track)
{
    ForgetCellTexts(&track, COL_TITLE);
    RedrawItems(row, row);
}

void CTrackListCtrl::ForgetCellTexts(const CMp3File* track, int first, int last)
{
    const auto cells = m_cellTexts.find(track);
    if (cells == m_cellTexts.end())
        return;
    cells->second.erase(cells->second.lower_bound(first), cells->second.lower_bound(last));
    if (cells->second.empty())
        m_cellTexts.erase(cells);
}

bool CTrackListCtrl::SetItemText(int row, int column, const std::string& text)
{
    const CMp3File* track = GetTrack(row);
    if (!track || column < 0 || column >= COLUMN_COUNT)
        return false;
    m_cellTexts[track][column] = text;
    RedrawItems(row, row);
    return true;
}

std::string CTrackListCtrl::CellText(int row, int column) const
{
    const CMp3File* track = GetTrack(row);
    if (!track)
        return std::string();
    const auto cells = m_cellTexts.find(track);
    if (cells != m_cellTexts.end()) {
        const auto cell = cells->second.find(column);
        if (cell != cells->second.end())
            return cell->second;
    }
    return column == COL_FILENAME ? FileNameFromPath(track->GetPath()) : m_tracks.FieldText(*track, FieldOfColumn(column));
}

// The list asks for what it paints: a cell's text, the row icon, the ID3v2 badge.
void CTrackListCtrl::OnGetDispInfo(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(hdr)->item;
    const CMp3File* track = GetTrack(item.iItem);
    if (!track)
        return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynA(item.pszText, CellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
    if (item.mask & LVIF_IMAGE)
        item.iImage = 0;
    if (item.mask & LVIF_STATE) {
        item.stateMask |= LVIS_OVERLAYMASK;
        item.state = (item.state & ~LVIS_OVERLAYMASK) |
                     (track->GetId3v2Version() ? INDEXTOOVERLAYMASK(ID3V2_OVERLAY) : 0);
    }
}

// Runs one change of the selected rows' fields, which Undo can take back, and shows them anew.
template <class Change>
auto CTrackListCtrl::ChangeSelected(const std::string& label, Change change)
{
    EndEdit();
    const std::vector<int> rows = SelectedRows();
    m_tracks.RecordFieldChange(label, AsIndexes(rows));
    ForgetSkipReasons(rows);
    auto result = change(AsIndexes(rows));
    for (int row : rows)
        ForgetCellTexts(GetTrack(row), COL_TITLE);
    Invalidate(); // one repaint for all the rows
    return result;
}

NameFillResult CTrackListCtrl::FillSelectedFromNames(const CNameReader& reader)
{
    return ChangeSelected("Tags From File Names",
                          [&](const std::vector<size_t>& rows) { return m_tracks.FillFromNames(rows, reader); });
}

void CTrackListCtrl::NumberSelectedTracks()
{
    ChangeSelected("Number Tracks", [&](const std::vector<size_t>& rows) {
        m_tracks.NumberTracks(rows);
        return 0;
    });
}

void CTrackListCtrl::ChangeSelectedLetterCase(LetterCase letterCase)
{
    ChangeSelected("Letter Case",
                   [&](const std::vector<size_t>& rows) { return m_tracks.ChangeLetterCase(rows, letterCase); });
}

std::string CTrackListCtrl::SelectedRowsAsTable() const
{
    std::vector<std::vector<std::string>> rows;
    for (int row : SelectedRows()) {
        std::vector<std::string> cells;
        for (int column = 0; column < COLUMN_COUNT; ++column)
            cells.push_back(GetItemText(row, column));
        rows.push_back(std::move(cells));
    }
    return WriteTagTable(std::vector<std::string>(ColumnHeadings, ColumnHeadings + COLUMN_COUNT), rows);
}

TagTable CTrackListCtrl::PasteIntoSelected(const std::string& text)
{
    EndEdit();
    const std::vector<int> rows = SelectedRows();
    const TagTable table =
        ReadTagTable(text, std::vector<std::string>(ColumnHeadings, ColumnHeadings + COLUMN_COUNT), rows.size());
    if (table.problem != TableProblem::NONE)
        return table;
    m_tracks.RecordFieldChange("Paste", AsIndexes(rows));
    ForgetSkipReasons(rows);
    for (size_t i = 0; i < rows.size(); ++i) {
        const size_t row = static_cast<size_t>(rows[i]);
        // The track first: the comment's slot depends on it.
        for (int pass = 0; pass < 2; ++pass) {
            for (size_t c = 0; c < table.rows[i].size(); ++c) {
                const TagField field = FieldOfColumn(table.columns[c]);
                if (field != TF_NONE && (field == TF_TRACK) == (pass == 0))
                    m_tracks.SetFromText(field, row, table.rows[i][c]);
            }
        }
        SetTagCells(rows[i], *GetTrack(rows[i]));
    }
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    return table;
}

UndoResult CTrackListCtrl::UndoLastChange()
{
    EndEdit();
    const UndoResult result = m_tracks.Undo();
    // The cells show their records again: the old names, the fields as they were.
    for (size_t row : result.rows) {
        const CMp3File* track = m_tracks.At(row);
        ForgetCellTexts(track, result.wasRename ? COL_FILENAME : COL_TITLE, result.wasRename ? COL_TITLE : COLUMN_COUNT);
    }
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    return result;
}

void CTrackListCtrl::ShowTagCellsAgain()
{
    EndEdit();
    CRedrawOff redrawOff(*this);
    for (int row = 0; row < GetItemCount(); ++row) {
        if (const CMp3File* track = GetTrack(row))
            SetTagCells(row, *track);
    }
}

// The one icon that every row shows: the one the shell associates with the first file, or the
// shell's plain document icon when it associates none (as Windows itself answers then).
// False when the path is too long to ask about.
bool CTrackListCtrl::AddIconOf(const std::string& path)
{
    // The shell call takes a buffer of this many characters, which it may write into.
    const std::wstring wide = Widen(path);
    if (wide.size() >= ICON_PATH_BUFFER)
        return false;
    wchar_t buffer[ICON_PATH_BUFFER];
    std::memcpy(buffer, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    WORD index = 0;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    HICON icon = ExtractAssociatedIconW(instance, buffer, &index);
    if (!icon)
        icon = ExtractIconA(instance, "shell32.dll", 0);
    if (!icon)
        return true;
    m_imageList.Add(icon);
    DestroyIcon(icon); // the image list keeps its own copy
    // The badge of files with an ID3v2 tag follows the row icon.
    if (auto badge = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ID3V2_BADGE), IMAGE_ICON, 16, 16, 0))) {
        ImageList_SetOverlayImage(m_imageList, m_imageList.Add(badge), ID3V2_OVERLAY);
        DestroyIcon(badge);
    }
    return true;
}

// The drop's paths in one pass over its block (asking for them one by one is quadratic under
// Wine). A path too long for the system to open is passed over.
void CTrackListCtrl::OnDropFiles(HDROP drop)
{
    DropList list;
    if (const void* block = GlobalLock(drop)) {
        list = ReadDropList(static_cast<const unsigned char*>(block), GlobalSize(drop));
        GlobalUnlock(drop);
    }
    DragFinish(drop);
    // 8-bit names come in the system's code page, which need not be the program's.
    std::vector<std::wstring> names;
    for (const std::string& name : list.names)
        names.push_back(Widen(name, CTagText::SystemCodePage()));
    for (const std::u16string& name : list.wideNames)
        names.emplace_back(name.begin(), name.end());
    std::vector<std::string> paths;
    for (const std::wstring& name : names) {
        if (name.size() < MAX_PATH)
            paths.push_back(Narrow(name));
    }
    if (m_setup.host)
        m_setup.host->FilesDropped(paths); // refused with a beep during a long run
}

// The separator is found character by character: in a double-byte code page a backslash's
// byte can be the second half of a character.
std::string CTrackListCtrl::FileNameFromPath(const std::string& path)
{
    const char* const begin = path.c_str();
    const char* name = begin;
    for (const char* p = begin; *p; p = CharNextExA(CP_ACP, p, 0)) {
        if (*p == '\\')
            name = p + 1;
    }
    return path.substr(static_cast<size_t>(name - begin));
}

CMp3File* CTrackListCtrl::GetTrack(int row) const
{
    return row < 0 ? nullptr : m_tracks.At(static_cast<size_t>(row));
}

std::vector<int> CTrackListCtrl::SelectedRows() const
{
    // The count is known at once: a search past the last selected row would walk every row after it.
    const size_t count = static_cast<size_t>(GetSelectedCount());
    std::vector<int> rows;
    rows.reserve(count);
    for (int row = -1; rows.size() < count;) {
        row = GetNextItem(row, LVNI_SELECTED);
        if (row == -1)
            break;
        rows.push_back(row);
    }
    return rows;
}

void CTrackListCtrl::DeleteAllTracks()
{
    EndEdit();
    m_pendingRenames.clear();
    m_skipReasons.clear();
    m_cellTexts.clear();
    DeleteAllItems();
    m_tracks.Clear();
}

void CTrackListCtrl::OnColumnClick(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    if (Busy())
        return;
    const int column = reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem;
    EndEdit(); // the edit goes into its own row before the rows move
    s_sortAscending = column == s_sortColumn ? !s_sortAscending : 1;
    s_sortColumn = column;
    // Selection and focus move with their files.
    std::unordered_set<const CMp3File*> selected;
    for (int row : SelectedRows())
        selected.insert(GetTrack(row));
    const CMp3File* focused = GetTrack(GetNextItem(-1, LVNI_FOCUSED));
    m_tracks.Sort(FieldOfColumn(column), s_sortAscending != 0);
    // Nothing to move when no row or every row is selected.
    if (!selected.empty() && static_cast<int>(selected.size()) != GetItemCount()) {
        CRedrawOff redrawOff(*this); // each row would repaint on its own
        SetItemState(-1, 0, LVIS_SELECTED);
        for (int row = 0; row < GetItemCount(); ++row) {
            if (selected.count(GetTrack(row)))
                SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    const int focusRow = FindRow(focused);
    if (focusRow >= 0)
        SetItemState(focusRow, LVIS_FOCUSED, LVIS_FOCUSED);
    Invalidate(); // every row may show another file now
    s_lastClickRow = -1; // another file sits in the remembered row now
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
    menu.AppendItem(ID_EDIT_FILLFROMID3V2, "Fill From ID3v2 Tag");
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

int CTrackListCtrl::WriteTags(IRunProgress* progress)
{
    EndEdit();
    // A field that held characters the code page lacks shows what was written once it is.
    std::vector<const CMp3File*> lossy;
    for (const CMp3File* track : m_tracks.Modified()) {
        if (m_tracks.HasLossyFields(track))
            lossy.push_back(track);
    }
    const int failed = static_cast<int>(m_tracks.WriteModified(progress).size());
    for (const CMp3File* track : lossy) {
        const int row = FindRow(track);
        if (row >= 0 && !track->IsModified())
            SetTagCells(row, *track);
    }
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

size_t CTrackListCtrl::RemoveRows(const std::vector<int>& rows, IRunProgress* progress)
{
    EndEdit();
    s_lastClickRow = -1;
    CRedrawOff redrawOff(*this);
    std::vector<size_t> removed;
    // From the last row up, so the rows still to go keep their numbers.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const CMp3File* track = GetTrack(*it);
        m_skipReasons.erase(track);
        // A rename request for this file must not reach the file that takes its row.
        for (auto request = m_pendingRenames.begin(); request != m_pendingRenames.end();)
            request = (*request)->track == track ? m_pendingRenames.erase(request) : request + 1;
        m_cellTexts.erase(track);
        removed.push_back(static_cast<size_t>(*it));
        if (progress && !progress->Step(removed.size(), rows.size()))
            break;
    }
    // The list's own rows follow: selection and focus move up as rows above them go.
    for (size_t row : removed)
        DeleteItem(static_cast<int>(row));
    m_tracks.Remove(removed);
    SendMessage(LVM_SETITEMCOUNT, m_tracks.Count(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    return removed.size();
}

int CTrackListCtrl::FindRow(const CMp3File* track) const
{
    return track ? m_tracks.RowOf(track) : -1;
}

void CTrackListCtrl::FocusList()
{
    ::SetActiveWindow(::GetAncestor(m_hWnd, GA_ROOT));
    SetFocus();
}

RenameRun CTrackListCtrl::RenameSelected(const CNameFormat& builder, IRunProgress* progress)
{
    const std::vector<int> rows = SelectedRows();
    const RenameRun run = m_tracks.Rename(AsIndexes(rows), builder, progress);
    m_skipReasons.clear();
    CRedrawOff redrawOff(*this); // each row would repaint on its own
    for (size_t i = 0; i < run.outcomes.size(); ++i) {
        const RenameOutcome outcome = run.outcomes[i];
        if (outcome == RENAME_SKIPPED || outcome == RENAME_NAME_EXISTS)
            m_skipReasons[GetTrack(rows[i])] = SkipReason(outcome, run.errors[i], run.names[i]);
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
    if (Busy())
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
    // A tag cell takes no more than its slot holds in the tag's code page.
    const TagField field = FieldOfColumn(column);
    if (field != TF_NONE && field != TF_TRACK) {
        edit->SetFitsRule([this, field, track](const std::string& text) {
            return m_tracks.Text().Fits(text, SlotBytes(field, track->GetTrack()));
        });
    }
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
    ForgetSkipReasons({row});
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
    if (field == TF_TRACK) {
        // The cell shows the number that will be written (its record's), as loading does.
        ForgetCellTexts(GetTrack(row), column, column + 1);
        const int value = ClampTrack(ParseTrackNumber(text));
        if (value == GetTrack(row)->GetTrack())
            return; // only the cell was put right
        m_tracks.RecordFieldChange("Edit", rows);
        m_tracks.SetNumber(field, rows, value);
        return;
    }
    m_tracks.RecordFieldChange("Edit", rows);
    if (field == TF_GENRE)
        m_tracks.SetNumber(field, rows, static_cast<int>(info.item.lParam));
    else
        m_tracks.SetText(field, rows, text);
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

void CTrackListCtrl::OnMouseMove(UINT flags, POINT point)
{
    int column = 0;
    const int row = HitTestCell(point, &column);
    if (row != m_tipCell.y || column != m_tipCell.x) {
        m_tipCell = {column, row};
        m_cellTip.Pop();
        m_cellTip.UpdateTipText(this, 1, row < 0 ? std::string() : CellTip(row, column));
    }
    MSG msg = {m_hWnd, WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y), 0, {}};
    m_cellTip.RelayEvent(&msg);
    Default();
}

std::string CTrackListCtrl::CellTip(int row, int column) const
{
    const CMp3File* track = GetTrack(row);
    if (!track || column != COL_FILENAME)
        return std::string();
    const auto reason = m_skipReasons.find(track);
    std::string tags = reason == m_skipReasons.end() ? std::string() : reason->second + "\n";
    Id3v2Fields id3v2;
    if (track->GetId3v2Version() && track->ReadId3v2Tag(id3v2))
        tags = DescribeId3v2(id3v2);
    if (track->HasId3v1Tag())
        tags += tags.empty() || tags.back() == '\n' ? "ID3v1 tag" : "; ID3v1 tag";
    if (!tags.empty() && tags.back() == '\n')
        tags.pop_back();
    return tags;
}

// The focused row's reason shows in the status bar while it has the focus.
void CTrackListCtrl::OnItemChanged(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    const auto* change = reinterpret_cast<NMLISTVIEW*>(hdr);
    if (!m_setup.host || !(change->uChanged & LVIF_STATE) || !(change->uNewState & LVIS_FOCUSED) ||
        (change->uOldState & LVIS_FOCUSED))
        return;
    const auto reason = m_skipReasons.find(GetTrack(change->iItem));
    if (reason != m_skipReasons.end()) {
        m_setup.host->ShowRowNote(reason->second);
        m_bNoteShown = true;
    } else if (m_bNoteShown) {
        m_setup.host->ShowRowNote(std::string());
        m_bNoteShown = false;
    }
}

void CTrackListCtrl::ForgetSkipReasons(const std::vector<int>& rows)
{
    for (int row : rows)
        m_skipReasons.erase(GetTrack(row));
}

FillResult CTrackListCtrl::FillSelectedFromId3v2()
{
    return ChangeSelected("Fill From ID3v2 Tag",
                          [&](const std::vector<size_t>& rows) { return m_tracks.FillFromId3v2(rows); });
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
    // The cells show the text as typed until it is written.
    ChangeSelected("Batch-Edit " + std::string(ColumnHeadings[column]), [&](const std::vector<size_t>& rows) {
        m_tracks.SetText(FieldOfColumn(column), rows, text);
        return 0;
    });
    for (int row : SelectedRows()) {
        if (CellText(row, column) != text)
            SetItemText(row, column, text);
    }
}

void CTrackListCtrl::BatchSetNumber(UINT id, int value)
{
    // "<none>" in the genre dialog (-1) changes nothing, so nothing becomes modified.
    const int column = ColumnOfBatch(id);
    if ((column != COL_TRACK && column != COL_GENRE) || (column == COL_GENRE && value == -1))
        return;
    ChangeSelected("Batch-Edit " + std::string(ColumnHeadings[column]), [&](const std::vector<size_t>& rows) {
        m_tracks.SetNumber(FieldOfColumn(column), rows, value);
        return 0;
    });
    if (column == COL_TRACK) {
        for (int row : SelectedRows())
            SetItemText(row, column, std::to_string(ClampTrack(value))); // a group's 0 shows as 0
    }
}
