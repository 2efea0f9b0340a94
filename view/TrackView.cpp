#include "TrackView.h"

#include <vfw.h>

#include "app/resource.h"
#include "dialogs/GenreBatchDlg.h"
#include "dialogs/TagBatchDlg.h"
#include "framework/FileDialog.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/ResString.h"
#include "model/Mp3File.h"
#include "model/TrackNumber.h"

namespace {

// Room for the names of thousands of files chosen at once; only while the dialog is open.
constexpr size_t OPEN_BUFFER_CHARS = 1048576;
const char* const OPEN_FILTER = "MP3 Files (*.mp3)|*.mp3|All Files (*.*)|*.*||";

} // namespace

BEGIN_MESSAGE_MAP(CTrackView, CWnd)
    ON_WM_PAINT()
    ON_WM_SETFOCUS()
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_RENAME, OnFileRename)
    ON_COMMAND(ID_FILE_WRITETAGS, OnFileWriteTags)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_COMMAND(ID_EDIT_SELECTMODIFIED, OnEditSelectModified)
    ON_COMMAND(ID_OPTIONS_FORMAT, OnOptionsFormat)
    ON_COMMAND(ID_TOOLS_PLAY, OnToolsPlay)
    ON_COMMAND(ID_TOOLS_STOP, OnToolsStop)
    ON_MESSAGE(MCIWNDM_NOTIFYMODE, OnMciNotifyMode)
    ON_COMMAND_RANGE(ID_BATCH_ARTIST, ID_BATCH_TITLE, OnBatchEdit)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateFileOpen)
    ON_UPDATE_COMMAND_UI(ID_FILE_CLOSE, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI(ID_FILE_RENAME, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI(ID_FILE_WRITETAGS, OnUpdateFileWriteTags)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateNeedRows)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECTMODIFIED, OnUpdateNeedRows)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_PLAY, OnUpdateToolsPlay)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_STOP, OnUpdateToolsStop)
    ON_UPDATE_COMMAND_UI_RANGE(ID_BATCH_ARTIST, ID_BATCH_TITLE, OnUpdateBatchEdit)
END_MESSAGE_MAP()

BOOL CTrackView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.lpszClass = RegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    cs.style &= ~WS_BORDER;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return cs.lpszClass != nullptr;
}

bool CTrackView::CreateList(IFileCountDisplay& display, HWND menuOwner, int widthForColumns)
{
    m_pCountDisplay = &display;
    // The list does not paint over the media window's play bar, which lies on top of it.
    if (!m_list.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LVS_REPORT, RECT{100, 100, 100, 100}, m_hWnd,
                       IDC_TRACKLIST))
        return false;
    TrackListSetup setup;
    setup.host = this;
    setup.menuOwner = menuOwner;
    setup.widthForColumns = widthForColumns;
    m_list.InitList(setup);
    return true;
}

// The list fills the view: every resize repaints the whole view (its class redraws on size).
void CTrackView::OnPaint()
{
    PAINTSTRUCT paint;
    BeginPaint(m_hWnd, &paint);
    m_list.MoveWindow(GetClientRect(), TRUE);
    PlaceMediaWindow();
    EndPaint(m_hWnd, &paint);
}

// The play bar sits at the bottom left, above the list, where it can be seen and used.
void CTrackView::PlaceMediaWindow()
{
    if (!m_hMciWnd)
        return;
    RECT media{};
    ::GetWindowRect(m_hMciWnd, &media);
    const RECT client = GetClientRect();
    ::SetWindowPos(m_hMciWnd, HWND_TOP, 0, client.bottom - (media.bottom - media.top), 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE);
}

void CTrackView::OnToolsPlay()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    const CMp3File* track = row < 0 ? nullptr : m_list.GetTrack(row);
    if (!track)
        return;
    const std::string path = track->GetPath();
    if (!m_hMciWnd) {
        m_hMciWnd = MCIWndCreateA(m_hWnd, GetModuleHandleA(nullptr),
                                  WS_CHILD | WS_VISIBLE | MCIWNDF_NOTIFYMODE | MCIWNDF_NOMENU, path.c_str());
        PlaceMediaWindow();
    } else {
        // The media window keeps its old file open on a new open request: close it first.
        ::SendMessageA(m_hMciWnd, MCI_CLOSE, 0, 0);
        ::SendMessageA(m_hMciWnd, MCIWNDM_OPENA, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    m_bPlaying = TRUE;
    if (m_hMciWnd)
        ::SendMessageA(m_hMciWnd, MCI_PLAY, 0, 0);
}

void CTrackView::OnToolsStop()
{
    SendMessage(MCIWNDM_NOTIFYMODE, reinterpret_cast<WPARAM>(m_hMciWnd), MCI_MODE_STOP);
}

LRESULT CTrackView::OnMciNotifyMode(WPARAM, LPARAM mode)
{
    if (mode == MCI_MODE_STOP) {
        m_bPlaying = FALSE;
        if (m_hMciWnd)
            ::SendMessageA(m_hMciWnd, MCI_CLOSE, 0, 0);
    }
    return 0;
}

void CTrackView::OnSetFocus(HWND)
{
    m_list.SetFocus();
}

void CTrackView::FinishEditing()
{
    m_list.EndEdit();
    m_list.RunPostedRenames();
}

void CTrackView::OnFileOpen()
{
    CFileDialog dialog("mp3", OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_OVERWRITEPROMPT, OPEN_FILTER,
                       OPEN_BUFFER_CHARS);
    if (dialog.DoModal() != IDOK) {
        // Files that do not fit are never loaded in part without a word.
        if (dialog.GetError() == FNERR_BUFFERTOOSMALL)
            AppMessageBox(IDS_TOO_MANY_FILES, MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    LoadFiles(dialog.GetPaths());
}

void CTrackView::LoadFiles(const std::vector<std::string>& paths)
{
    if (m_list.AddFiles(paths).rejected > 0)
        AppMessageBox(IDS_INVALID_FILES, MB_ICONEXCLAMATION | MB_OK);
}

bool CTrackView::ConfirmCellRename()
{
    return AppMessageBox(IDS_CONFIRM_RENAME_ONE, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CTrackView::CellRenameFailed()
{
    AppMessageBox(IDS_RENAME_FAILED, MB_ICONEXCLAMATION | MB_OK);
}

void CTrackView::ShowFileCount(int count)
{
    if (m_pCountDisplay)
        m_pCountDisplay->ShowFileCount(count);
}

void CTrackView::OnFileClose()
{
    FinishEditing();
    // A modified file is asked about, in row order; the rows go together at the end.
    std::vector<int> removed;
    for (int row : m_list.SelectedRows()) {
        const CMp3File* track = m_list.GetTrack(row);
        if (track && track->IsModified() && AppMessageBox(IDS_CONFIRM_REMOVE, MB_YESNO | MB_ICONQUESTION) != IDYES)
            continue;
        removed.push_back(row);
    }
    if (removed.empty())
        return;
    m_list.RemoveRows(removed);
    ShowFileCount(m_list.GetItemCount());
}

void CTrackView::OnFileRename()
{
    if (AppMessageBox(IDS_CONFIRM_RENAME, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    RenameRun run;
    {
        CWaitCursor wait;
        run = m_list.RenameSelected(m_formatDlg);
    }
    ShowMessageBox(FormatResString(IDS_RENAME_SUMMARY, run.counts[RENAME_DONE], run.counts[RENAME_ALREADY_NAMED],
                                   run.counts[RENAME_NAME_EXISTS], run.counts[RENAME_SKIPPED]),
                   MB_ICONINFORMATION | MB_OK);
    m_list.FocusList();
}

void CTrackView::OnFileWriteTags()
{
    if (AppMessageBox(IDS_CONFIRM_WRITE, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const int failed = m_list.WriteTags();
    if (failed > 0)
        ShowMessageBox(FormatResString(IDS_WRITE_FAILED, failed), MB_ICONEXCLAMATION | MB_OK);
}

void CTrackView::OnEditSelectAll()
{
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    m_list.FocusList();
}

void CTrackView::OnEditSelectModified()
{
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const CMp3File* track = m_list.GetTrack(row);
        if (track && track->IsModified())
            m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    m_list.FocusList();
}

void CTrackView::OnOptionsFormat()
{
    RunFormatCommand(m_formatDlg);
}

void CTrackView::OnBatchEdit(UINT id)
{
    if (id == ID_BATCH_GENRE) {
        CGenreBatchDlg dialog;
        if (dialog.DoModal() == IDOK) {
            m_list.BatchSetNumber(id, dialog.GetChosenGenre());
            RedrawNow();
        }
    } else {
        CTagBatchDlg dialog(static_cast<int>(id));
        if (dialog.DoModal() == IDOK) {
            if (id == ID_BATCH_TRACK)
                m_list.BatchSetNumber(id, ParseTrackNumber(dialog.m_strValue));
            else
                m_list.BatchSetText(id, dialog.m_strValue);
            RedrawNow();
        }
    }
    m_list.FocusList();
}

void CTrackView::RedrawNow()
{
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CTrackView::OnUpdateFileOpen(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
}

void CTrackView::OnUpdateNeedSelection(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_list.GetSelectedCount() > 0);
}

void CTrackView::OnUpdateFileWriteTags(CCmdUI* cmdUI)
{
    cmdUI->Enable(!m_list.ModifiedTracks().IsEmpty());
}

void CTrackView::OnUpdateNeedRows(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_list.GetItemCount() > 0);
}

void CTrackView::OnUpdateToolsPlay(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_list.GetSelectedCount() == 1);
}

void CTrackView::OnUpdateToolsStop(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_bPlaying);
}

void CTrackView::OnUpdateBatchEdit(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_list.GetSelectedCount() >= 2);
}
