#include "TrackListCtrl.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "app/resource.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/ResString.h"
#include "framework/WinApp.h"
#include "model/GenreTable.h"
#include "model/Mp3File.h"
#include "model/PathText.h"
#include "model/TrackNumber.h"
#include "tracklist/CellEditors.h"
#include "rename/NameFormat.h"
#include "rename/RenameDecision.h"

int CTrackListCtrl::s_lastClickRow = -1;
int CTrackListCtrl::s_sortColumn = -1;
int CTrackListCtrl::s_sortAscending = 1;

namespace {

const char* const ColumnHeadings[CTrackListCtrl::COLUMN_COUNT] = {
    "File Name", "Title", "Artist", "Album", "Genre", "Year", "Track", "Comment",
};

constexpr size_t ICON_PATH_BUFFER = 256;

// Only the last three characters decide: "mp3" in any letter case.
bool HasMp3Ending(const std::string& path)
{
    const std::string last = path.size() < 3 ? path : path.substr(path.size() - 3);
    return last.size() == 3 && (last[0] == 'm' || last[0] == 'M') &&
           (last[1] == 'p' || last[1] == 'P') && last[2] == '3';
}

// Case-insensitive byte comparison that folds only A to Z, as strcasecmp does in the "C" locale.
int CompareNoCase(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string SortKey(const CMp3File& track, int column)
{
    switch (column) {
    case CTrackListCtrl::COL_FILENAME: return track.GetPath();
    case CTrackListCtrl::COL_TITLE: return track.GetTitle();
    case CTrackListCtrl::COL_ARTIST: return track.GetArtist();
    case CTrackListCtrl::COL_ALBUM: return track.GetAlbum();
    case CTrackListCtrl::COL_GENRE: return GetGenreName(track.GetGenre());
    case CTrackListCtrl::COL_YEAR: return track.GetYear();
    case CTrackListCtrl::COL_COMMENT: return track.GetComment();
    default: return std::string();
    }
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

void CTrackListCtrl::InitList()
{
    DragAcceptFiles(m_hWnd, TRUE);
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);

    CWnd* mainWnd = GetApp() ? GetApp()->GetMainWnd() : nullptr;
    const RECT client = mainWnd ? mainWnd->GetClientRect() : RECT{};
    const int width = (client.right - client.left) / COLUMN_COUNT;
    for (int column = 0; column < COLUMN_COUNT; ++column)
        InsertColumn(column, ColumnHeadings[column], LVCFMT_LEFT, width, column);

    m_imageList.Create(16, 16, ILC_COLOR8, 0, 4);
    SetImageList(m_imageList, LVSIL_SMALL);
}

void CTrackListCtrl::AddFiles(const std::vector<std::string>& paths)
{
    const int base = GetItemCount();
    int rejected = 0;
    bool iconAsked = false; // the shell is asked once per call at most, even when it has no icon
    {
        CWaitCursor wait;
        CRedrawOff redrawOff(*this);
        for (size_t i = 0; i < paths.size(); ++i) {
            const std::string& path = paths[i];
            if (!HasMp3Ending(path)) {
                ++rejected;
                continue;
            }
            if (!iconAsked && m_imageList.GetImageCount() == 0)
                iconAsked = AddIconOf(path);
            CMp3File* track = new CMp3File(path);
            const int row = InsertItem(base + static_cast<int>(i) - rejected, FileNameFromPath(path),
                                       reinterpret_cast<LPARAM>(track));
            if (row < 0) {
                delete track;
                continue;
            }
            SetTagCells(row, *track);
        }
    }
    if (rejected > 0)
        AppMessageBox(IDS_INVALID_FILES, MB_ICONEXCLAMATION | MB_OK);
    CWinApp* app = GetApp();
    if (auto* display = dynamic_cast<IFileCountDisplay*>(app ? app->GetMainWnd() : nullptr))
        display->ShowFileCount(GetItemCount());
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
    const HINSTANCE instance = GetApp() ? GetApp()->m_hInstance : GetModuleHandleA(nullptr);
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
    AddFiles(paths);
    Default();
    DragFinish(drop);
}

std::string CTrackListCtrl::FileNameFromPath(const std::string& path)
{
    return NameOf(path);
}

CMp3File* CTrackListCtrl::GetTrack(int row) const
{
    return reinterpret_cast<CMp3File*>(GetItemData(row));
}

void CTrackListCtrl::DeleteAllTracks()
{
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        CMp3File* track = GetTrack(row);
        if (!track)
            continue;
        m_modifiedTracks.Remove(track);
        SetItemData(row, 0); // no paint or read may reach the deleted track
        delete track;
    }
}

void CTrackListCtrl::OnColumnClick(NMHDR* hdr, LRESULT* result)
{
    const int column = reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem;
    EndEdit(); // the edit goes into its own row before the rows move
    s_sortAscending = column == s_sortColumn ? !s_sortAscending : 1;
    s_sortColumn = column;
    SortParams params = {s_sortAscending, column};
    SortItems(&CompareTracks, reinterpret_cast<LPARAM>(&params));
    s_lastClickRow = -1; // another file sits in the remembered row now
    *result = 0;
}

int CALLBACK CTrackListCtrl::CompareTracks(LPARAM first, LPARAM second, LPARAM sortParams)
{
    const auto* params = reinterpret_cast<const SortParams*>(sortParams);
    const auto* a = reinterpret_cast<const CMp3File*>(params->ascending ? first : second);
    const auto* b = reinterpret_cast<const CMp3File*>(params->ascending ? second : first);
    if (!a || !b)
        return (a != nullptr) - (b != nullptr); // a released track counts as the smallest key
    if (params->column == COL_TRACK)
        return (a->GetTrack() > b->GetTrack()) - (a->GetTrack() < b->GetTrack());
    return CompareNoCase(SortKey(*a, params->column), SortKey(*b, params->column));
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
    CWnd* owner = GetApp() ? GetApp()->GetMainWnd() : nullptr;
    menu.TrackPopupMenu(0, point, owner ? owner->m_hWnd : GetParent());
}

void CTrackListCtrl::WriteTags()
{
    EndEdit();
    int failed = 0;
    // A track whose write fails stays in the list, so its edit is neither lost nor forgotten.
    m_modifiedTracks.Filter([&failed](CMp3File* track) {
        if (!track->IsModified() || track->WriteTag())
            return false;
        ++failed;
        return true;
    });
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (failed > 0)
        ShowMessageBox(FormatResString(IDS_WRITE_FAILED, failed), MB_ICONEXCLAMATION | MB_OK);
}

BOOL CTrackListCtrl::RemoveTrack(int row)
{
    EndEdit();
    s_lastClickRow = -1;
    if (CMp3File* track = GetTrack(row)) {
        m_modifiedTracks.Remove(track);
        // A rename request for this file must not reach the file that takes its row.
        for (auto it = m_pendingRenames.begin(); it != m_pendingRenames.end();)
            it = (*it)->track == track ? m_pendingRenames.erase(it) : it + 1;
    }
    return DeleteItem(row);
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

int CTrackListCtrl::RenameSelected(const CNameFormat& builder)
{
    int counts[4] = {}; // by RenameOutcome
    // The next selected row is found before this one is handled, so deselecting it is harmless.
    for (int row = GetNextItem(-1, LVNI_SELECTED); row != -1;) {
        const int next = GetNextItem(row, LVNI_SELECTED);
        if (CMp3File* track = GetTrack(row)) {
            const std::string name = builder.BuildFileName(*track);
            const RenameOutcome outcome = RenameFromTag(name, track->GetPath(), [track](const std::string& newPath) {
                return track->RenameTo(newPath) ? 0ul : static_cast<unsigned long>(GetLastError());
            });
            ++counts[outcome];
            if (outcome == RENAME_DONE)
                SetItemText(row, COL_FILENAME, name);
            if (outcome == RENAME_DONE || outcome == RENAME_ALREADY_NAMED)
                SetItemState(row, 0, LVIS_SELECTED);
        }
        row = next;
    }
    ShowMessageBox(FormatResString(IDS_RENAME_SUMMARY, counts[RENAME_DONE], counts[RENAME_ALREADY_NAMED],
                                   counts[RENAME_NAME_EXISTS], counts[RENAME_SKIPPED]),
                   MB_ICONINFORMATION | MB_OK);
    FocusList();
    return counts[RENAME_DONE];
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
    if (AppMessageBox(IDS_CONFIRM_RENAME_ONE, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        SetItemText(row, COL_FILENAME, info->oldText);
        return 0;
    }
    if (!info->track->RenameTo(info->newText)) {
        AppMessageBox(IDS_RENAME_FAILED, MB_ICONEXCLAMATION | MB_OK);
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
        auto* combo = new CCellCombo(row, GetGenreName(track->GetGenre()));
        rect.bottom += 80;
        if (!combo->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT | align, rect,
                           m_hWnd, IDC_CELLCOMBO)) {
            delete combo; // a window that failed to be created never reaches PostNcDestroy
            return nullptr;
        }
        return m_pEditor = combo;
    }
    auto* edit = new CCellEdit(row, column, GetItemText(row, column));
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
    CMp3File* track = GetTrack(row);
    switch (column) {
    case COL_TITLE: track->SetTitle(text); break;
    case COL_ARTIST: track->SetArtist(text); break;
    case COL_ALBUM: track->SetAlbum(text); break;
    case COL_GENRE: track->SetGenre(static_cast<int>(info.item.lParam)); break;
    case COL_YEAR: track->SetYear(text); break;
    case COL_COMMENT: track->SetComment(text); break;
    case COL_TRACK: {
        // The cell shows the number that will be written, as loading does.
        const int value = ClampTrack(ParseTrackNumber(text));
        SetItemText(row, column, TrackCellText(value));
        if (value == track->GetTrack())
            return; // only the cell was put right
        track->SetTrack(value);
        break;
    }
    default: return;
    }
    m_modifiedTracks.Add(track);
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
    void (CMp3File::*setter)(const std::string&);
    int column;
    switch (id) {
    case ID_BATCH_TITLE: setter = &CMp3File::SetTitle; column = COL_TITLE; break;
    case ID_BATCH_ARTIST: setter = &CMp3File::SetArtist; column = COL_ARTIST; break;
    case ID_BATCH_ALBUM: setter = &CMp3File::SetAlbum; column = COL_ALBUM; break;
    case ID_BATCH_YEAR: setter = &CMp3File::SetYear; column = COL_YEAR; break;
    case ID_BATCH_COMMENT: setter = &CMp3File::SetComment; column = COL_COMMENT; break;
    default: return;
    }
    EndEdit();
    for (int row = GetNextItem(-1, LVNI_SELECTED); row != -1; row = GetNextItem(row, LVNI_SELECTED)) {
        CMp3File* track = GetTrack(row);
        if (!track)
            continue;
        (track->*setter)(text);
        m_modifiedTracks.Add(track);
        SetItemText(row, column, text);
    }
}

void CTrackListCtrl::BatchSetNumber(UINT id, int value)
{
    // "<none>" in the genre dialog (-1) changes nothing, so nothing becomes modified.
    if ((id != ID_BATCH_TRACK && id != ID_BATCH_GENRE) || (id == ID_BATCH_GENRE && value == -1))
        return;
    EndEdit();
    const int track = ClampTrack(value);
    for (int row = GetNextItem(-1, LVNI_SELECTED); row != -1; row = GetNextItem(row, LVNI_SELECTED)) {
        CMp3File* file = GetTrack(row);
        if (!file)
            continue;
        m_modifiedTracks.Add(file);
        if (id == ID_BATCH_TRACK) {
            SetItemText(row, COL_TRACK, std::to_string(track));
            file->SetTrack(track);
        } else {
            SetItemText(row, COL_GENRE, GetGenreName(value));
            file->SetGenre(value);
        }
    }
}
