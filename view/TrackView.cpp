#include "TrackView.h"

#include <vfw.h>

#include "app/resource.h"
#include "dialogs/GenreBatchDlg.h"
#include "dialogs/TagBatchDlg.h"
#include "dialogs/TagEncodingDlg.h"
#include "dialogs/TagsFromNamesDlg.h"
#include "framework/Clipboard.h"
#include "framework/FileDialog.h"
#include "framework/FolderDialog.h"
#include "framework/LateBound.h"
#include "framework/Profile.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/ResString.h"
#include "model/Mp3File.h"
#include "model/TrackNumber.h"

namespace {

// Room for the names of thousands of files chosen at once; only while the dialog is open.
constexpr size_t OPEN_BUFFER_CHARS = 1048576;
const char* const OPEN_FILTER = "MP3 Files (*.mp3)|*.mp3|All Files (*.*)|*.*||";
// The folder Add Folder offers first: the one chosen last.
const char* const FOLDER_SECTION = "Options";
const char* const FOLDER_ENTRY = "AddFolder";

} // namespace

BEGIN_MESSAGE_MAP(CTrackView, CWnd)
    ON_WM_PAINT()
    ON_WM_SETFOCUS()
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_ADDFOLDER, OnFileAddFolder)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_RENAME, OnFileRename)
    ON_COMMAND(ID_FILE_WRITETAGS, OnFileWriteTags)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_COMMAND(ID_EDIT_SELECTMODIFIED, OnEditSelectModified)
    ON_COMMAND(ID_EDIT_FILLFROMID3V2, OnEditFillFromId3v2)
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_COMMAND(ID_TOOLS_TAGSFROMNAMES, OnToolsTagsFromNames)
    ON_COMMAND(ID_TOOLS_NUMBERTRACKS, OnToolsNumberTracks)
    ON_COMMAND_RANGE(ID_CASE_TITLE, ID_CASE_LOWER, OnLetterCase)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_TAGSFROMNAMES, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_NUMBERTRACKS, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI_RANGE(ID_CASE_TITLE, ID_CASE_LOWER, OnUpdateNeedSelection)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
    ON_COMMAND(ID_OPTIONS_FORMAT, OnOptionsFormat)
    ON_COMMAND(ID_OPTIONS_TAGENCODING, OnOptionsTagEncoding)
    ON_COMMAND(ID_TOOLS_PLAY, OnToolsPlay)
    ON_COMMAND(ID_TOOLS_STOP, OnToolsStop)
    ON_MESSAGE(MCIWNDM_NOTIFYMODE, OnMciNotifyMode)
    ON_COMMAND_RANGE(ID_BATCH_ARTIST, ID_BATCH_TITLE, OnBatchEdit)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateFileOpen)
    ON_UPDATE_COMMAND_UI(ID_FILE_ADDFOLDER, OnUpdateFileOpen)
    ON_UPDATE_COMMAND_UI(ID_FILE_CLOSE, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI(ID_FILE_RENAME, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_FILLFROMID3V2, OnUpdateNeedSelection)
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

bool CTrackView::CreateList(IStatusDisplay& status, HWND menuOwner, int widthForColumns)
{
    m_pStatus = &status;
    m_list.Tracks().SetTagCodePage(StoredTagCodePage());
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
        static const auto create = LateBound<decltype(MCIWndCreateA)>("msvfw32.dll", "MCIWndCreateA");
        if (create)
            m_hMciWnd = create(m_hWnd, GetModuleHandleA(nullptr),
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

void CTrackView::OnFileAddFolder()
{
    std::string folder;
    if (!PickFolder(::GetAncestor(m_hWnd, GA_ROOT), GetProfileString(FOLDER_SECTION, FOLDER_ENTRY, ""), folder))
        return;
    WriteProfileString(FOLDER_SECTION, FOLDER_ENTRY, folder);
    LoadFiles({folder});
}

template <class Work>
auto CTrackView::RunLong(UINT text, UINT counting, Work work)
{
    const HWND root = ::GetAncestor(m_hWnd, GA_ROOT);
    CRunPump pump(*m_pStatus, root, text, counting, m_nProgressDelayMs);
    m_pRun = &pump;
    auto result = work(static_cast<IRunProgress&>(pump));
    m_pRun = nullptr;
    if (m_bCloseAfterRun) {
        m_bCloseAfterRun = false;
        ::PostMessageA(root, WM_CLOSE, 0, 0);
    }
    return result;
}

void CTrackView::StopRun(bool closeAfter)
{
    if (!m_pRun)
        return;
    m_pRun->RequestStop();
    m_bCloseAfterRun = m_bCloseAfterRun || closeAfter;
}

void CTrackView::LoadFiles(const std::vector<std::string>& paths)
{
    if (Busy()) {
        MessageBeep(MB_OK);
        return;
    }
    const LoadResult loaded = RunLong(IDS_PROGRESS_LOADING, IDS_PROGRESS_FINDING, [&](IRunProgress& progress) {
        return m_list.AddFiles(paths, &progress);
    });
    // A stopped load says only how many rows there are now.
    m_pStatus->ShowFileCount(m_list.GetItemCount(), loaded.stopped ? 0 : loaded.duplicates);
    if (!loaded.stopped && loaded.rejected > 0)
        AppMessageBox(IDS_INVALID_FILES, MB_ICONEXCLAMATION | MB_OK);
}

bool CTrackView::ConfirmCellRename()
{
    return AppMessageBox(IDS_CONFIRM_RENAME_ONE, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CTrackView::ShowRowNote(const std::string& note)
{
    if (note.empty())
        m_pStatus->ShowIdleMessage();
    else
        m_pStatus->ShowMessage(note);
}

void CTrackView::CellRenameFailed()
{
    AppMessageBox(IDS_RENAME_FAILED, MB_ICONEXCLAMATION | MB_OK);
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
    RunLong(IDS_PROGRESS_CLOSING, IDS_PROGRESS_CLOSING, [&](IRunProgress& progress) {
        return m_list.RemoveRows(removed, &progress);
    });
    m_pStatus->ShowFileCount(m_list.GetItemCount());
}

void CTrackView::OnFileRename()
{
    if (AppMessageBox(IDS_CONFIRM_RENAME, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const RenameRun run = RunLong(IDS_PROGRESS_RENAMING, IDS_PROGRESS_RENAMING, [&](IRunProgress& progress) {
        CWaitCursor wait;
        return m_list.RenameSelected(m_formatDlg, &progress);
    });
    m_pStatus->ShowIdleMessage();
    std::string summary = FormatResString(IDS_RENAME_SUMMARY, run.counts[RENAME_DONE], run.counts[RENAME_ALREADY_NAMED],
                                          run.counts[RENAME_NAME_EXISTS], run.counts[RENAME_SKIPPED]);
    if (run.notReached > 0)
        summary += "\n\n" + FormatResString(IDS_RENAME_STOPPED, static_cast<int>(run.notReached));
    ShowMessageBox(summary, MB_ICONINFORMATION | MB_OK);
    m_list.FocusList();
}

void CTrackView::OnFileWriteTags()
{
    if (AppMessageBox(IDS_CONFIRM_WRITE, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_list.EndEdit();
    const int lossy = m_list.Tracks().LossyFieldCount();
    if (lossy > 0 && ShowMessageBox(FormatResString(IDS_LOSSY_WRITE, lossy), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const int failed = RunLong(IDS_PROGRESS_WRITING, IDS_PROGRESS_WRITING, [&](IRunProgress& progress) {
        return m_list.WriteTags(&progress);
    });
    m_pStatus->ShowIdleMessage();
    if (failed > 0)
        ShowMessageBox(FormatResString(IDS_WRITE_FAILED, failed), MB_ICONEXCLAMATION | MB_OK);
}

void CTrackView::OnEditSelectAll()
{
    {
        // One message, and one repaint: rows shown one by one cost a second at 10,000 rows.
        CRedrawOff redrawOff(m_list);
        m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    }
    m_list.FocusList();
}

void CTrackView::OnEditSelectModified()
{
    {
        CRedrawOff redrawOff(m_list);
        for (int row = 0; row < m_list.GetItemCount(); ++row) {
            const CMp3File* track = m_list.GetTrack(row);
            if (track && track->IsModified())
                m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    m_list.FocusList();
}

void CTrackView::OnEditFillFromId3v2()
{
    const FillResult result = m_list.FillSelectedFromId3v2();
    RedrawNow();
    ShowMessageBox(FormatResString(IDS_FILL_SUMMARY, result.filled, result.withoutTag, result.changed),
                   MB_ICONINFORMATION | MB_OK);
    m_list.FocusList();
}

void CTrackView::OnEditCopy()
{
    SetClipboardText(m_hWnd, m_list.SelectedRowsAsTable());
}

void CTrackView::OnEditPaste()
{
    const std::string text = GetClipboardText(m_hWnd);
    const TagTable table = m_list.PasteIntoSelected(text);
    if (table.problem == TableProblem::LINE_COUNT) {
        ShowMessageBox(FormatResString(IDS_PASTE_LINE_COUNT, static_cast<int>(table.lineCount), m_list.GetSelectedCount()),
                       MB_ICONEXCLAMATION | MB_OK);
    } else if (table.problem == TableProblem::TOO_MANY_COLUMNS) {
        ShowMessageBox(FormatResString(IDS_PASTE_TOO_MANY_COLUMNS, static_cast<int>(table.badLine)),
                       MB_ICONEXCLAMATION | MB_OK);
    }
    m_list.FocusList();
}

// The file a dialog's example is about: the focused row's, else the first selected row's; null
// when there is neither.
const CMp3File* CTrackView::ExampleTrack() const
{
    const int focused = m_list.GetNextItem(-1, LVNI_FOCUSED);
    return m_list.GetTrack(focused >= 0 ? focused : m_list.GetNextItem(-1, LVNI_SELECTED));
}

void CTrackView::OnToolsTagsFromNames()
{
    const CMp3File* track = ExampleTrack();
    CTagsFromNamesDlg dialog(track ? track->GetPath() : std::string());
    if (dialog.DoModal() != IDOK)
        return;
    const NameFillResult result = m_list.FillSelectedFromNames(CNameReader(dialog.Format()));
    ShowMessageBox(FormatResString(IDS_NAMES_SUMMARY, result.filled, result.notMatched), MB_ICONINFORMATION | MB_OK);
    m_list.FocusList();
}

void CTrackView::OnToolsNumberTracks()
{
    m_list.NumberSelectedTracks();
    m_list.FocusList();
}

void CTrackView::OnLetterCase(UINT id)
{
    const LetterCase cases[] = {LetterCase::TITLE, LetterCase::SENTENCE, LetterCase::UPPER, LetterCase::LOWER};
    m_list.ChangeSelectedLetterCase(cases[id - ID_CASE_TITLE]);
    m_list.FocusList();
}

void CTrackView::OnEditUndo()
{
    const UndoResult result = m_list.UndoLastChange();
    if (result.wasRename)
        ShowMessageBox(FormatResString(IDS_UNDO_RENAME_SUMMARY, result.givenBack, result.leftAlone),
                       MB_ICONINFORMATION | MB_OK);
    m_list.FocusList();
}

// The menu item names what it takes back: "Undo Rename of 37 Files".
void CTrackView::OnUpdateEditUndo(CCmdUI* cmdUI)
{
    const CTrackCollection& tracks = m_list.Tracks();
    cmdUI->SetText((tracks.CanUndo() ? "&Undo " + tracks.UndoLabel() : std::string("&Undo")) + "\tCtrl+Z");
    cmdUI->Enable(tracks.CanUndo());
}

// With no file at hand, the example is about a made-up tag.
void CTrackView::OnOptionsFormat()
{
    const CMp3File* track = ExampleTrack();
    m_formatDlg.m_exampleName = [this, track](const CNameFormat& format) {
        return m_list.Tracks().BuiltName(track ? *track : SampleTrack(), format);
    };
    RunFormatCommand(m_formatDlg);
    m_formatDlg.m_exampleName = nullptr;
}

// Every row's tag cells read anew in the chosen code page; no byte of a tag changes.
void CTrackView::OnOptionsTagEncoding()
{
    CTagEncodingDlg dialog(m_list.Tracks().Text().CodePage());
    if (dialog.DoModal() != IDOK)
        return;
    StoreTagCodePage(dialog.CodePage());
    m_list.Tracks().SetTagCodePage(dialog.CodePage());
    m_list.ShowTagCellsAgain();
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
        CTagBatchDlg dialog(static_cast<int>(id), BatchFitsRule(id));
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

// The slot of a group edit's field: a comment holds 28 bytes when some selected row has a track.
CSlotEdit::FitsRule CTrackView::BatchFitsRule(UINT id)
{
    const TagField field = BatchField(id);
    if (field == TF_NONE || field == TF_TRACK || field == TF_GENRE)
        return {};
    int track = 0;
    for (int row : m_list.SelectedRows())
        track = std::max(track, m_list.GetTrack(row)->GetTrack());
    const CTagText& text = m_list.Tracks().Text();
    const size_t slot = SlotBytes(field, track);
    return [&text, slot](const std::string& value) { return text.Fits(value, slot); };
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
