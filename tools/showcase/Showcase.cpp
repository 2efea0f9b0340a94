// Opens Quillfox's main window with a few sample files loaded, one row changed and one row
// selected, so the screenshot tool has something to show, then sets up the scene named by the
// second argument: "main" (the default), "rename" (the summary of a rename run), "genre" (the
// genre picker open over a cell), "format", "tag" and "genredlg" (the three dialogs), "about"
// (the about box over the window with the play bar). Ends itself after a number of seconds (the
// first argument, 8 by default) and removes its files.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/QuillfoxApp.h"
#include "app/resource.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "model/Id3v1Tag.h"
#include "model/Mp3File.h"
#include "support/TestFiles.h"

namespace {

constexpr UINT DEFAULT_SECONDS = 8;
constexpr int MODIFIED_ROW = 2;
constexpr int SELECTED_ROW = 4;

struct Sample
{
    const char* fileName;
    bool tagged;
    Id3v1Fields fields;
};

std::vector<Sample> Samples()
{
    return {
        {"01 Northern Lights.mp3", true, Id3v1Fields{"Northern Lights", "Anna Berg", "First Light", "2019", "remaster", 1, 13}},
        {"02 Open Water.mp3", true, Id3v1Fields{"Open Water", "Anna Berg", "First Light", "2019", "", 2, 13}},
        {"Seven Wires - Static Bloom.mp3", true, Id3v1Fields{"Static Bloom", "Seven Wires", "Signals", "2008", "live", 7, 17}},
        {"Los Caminos - La Ruta.mp3", true, Id3v1Fields{"La Ruta", "Los Caminos", "Hinterland", "1997", "radio edit", 4, 86}},
        {"track05.mp3", true, Id3v1Fields{"Midnight Train", "Tom Avery", "Low Tide", "1974", "ripped from CD", 5, 8}},
        {"voice memo.mp3", false, {}},
    };
}

bool WriteSample(const std::string& path, const Sample& sample)
{
    const Id3v1Block tag = EncodeId3v1(sample.fields);
    try {
        WriteMp3(path, 1, sample.tagged ? &tag : nullptr);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

std::string g_scene = "main";

// Ends the program wherever it is, a modal dialog open or not; the files go first.
void CALLBACK EndShowcase(HWND, UINT, UINT_PTR, DWORD)
{
    GetApp()->ExitInstance();
    ExitProcess(0);
}

// Drops the list of the genre dialog, once it is open.
void CALLBACK DropGenreDialogList(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = FindWindowA("#32770", nullptr);
    if (!dialog)
        return;
    KillTimer(nullptr, id);
    SendDlgItemMessageA(dialog, IDC_BATCH_GENRE, CB_SHOWDROPDOWN, TRUE, 0);
}

void SelectRows(CTrackListCtrl& list, std::initializer_list<int> rows)
{
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows)
        list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CALLBACK RunScene(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto* frame = dynamic_cast<CMainFrame*>(GetApp()->m_pMainWnd);
    CTrackListCtrl& list = frame->View().List();
    if (g_scene == "rename") {
        SelectRows(list, {0, 1, 3, 5});
        frame->PostMessage(WM_COMMAND, ID_FILE_RENAME);
    } else if (g_scene == "genre") {
        SelectRows(list, {3});
        if (CWnd* picker = list.EditCell(3, CTrackListCtrl::COL_GENRE))
            picker->SendMessage(CB_SHOWDROPDOWN, TRUE);
    } else if (g_scene == "format") {
        frame->PostMessage(WM_COMMAND, ID_OPTIONS_FORMAT);
    } else if (g_scene == "tag") {
        SelectRows(list, {0, 1});
        frame->PostMessage(WM_COMMAND, ID_BATCH_TRACK);
    } else if (g_scene == "genredlg") {
        SelectRows(list, {0, 1});
        SetTimer(nullptr, 0, 300, &DropGenreDialogList);
        frame->PostMessage(WM_COMMAND, ID_BATCH_GENRE);
    } else if (g_scene == "about") {
        SelectRows(list, {0});
        frame->SendMessage(WM_COMMAND, ID_TOOLS_PLAY);
        frame->PostMessage(WM_COMMAND, ID_APP_ABOUT);
    }
}

// The real program's start-up, then the samples and the scene.
class CShowcaseApp : public CQuillfoxApp
{
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    bool WriteSamples();

    std::string m_folder;
    std::vector<std::string> m_files;
};

CShowcaseApp theApp;

bool CShowcaseApp::WriteSamples()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_folder = std::string(temp) + "quillfox_showcase_" + std::to_string(GetCurrentProcessId());
    if (!CreateDirectoryA(m_folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    for (const Sample& sample : Samples()) {
        const std::string path = m_folder + "\\" + sample.fileName;
        if (!WriteSample(path, sample))
            return false;
        m_files.push_back(path);
    }
    return true;
}

BOOL CShowcaseApp::InitInstance()
{
    // Questions are answered Yes, so a scene shows what follows them (a rename's summary).
    SetMessageBoxHandler([](HWND owner, const std::string& text, const std::string& caption, UINT type) {
        if ((type & MB_TYPEMASK) == MB_YESNO)
            return IDYES;
        return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
    });

    UINT seconds = DEFAULT_SECONDS;
    if (__argc > 1) {
        const int asked = std::atoi(__argv[1]);
        if (asked > 0)
            seconds = static_cast<UINT>(asked);
    }
    if (__argc > 2)
        g_scene = __argv[2];

    m_strCommandLine.clear(); // its words are the scene's, not files to load
    if (!CQuillfoxApp::InitInstance() || !WriteSamples())
        return FALSE;
    auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    CTrackListCtrl& list = frame->View().List();
    frame->View().LoadFiles(m_files); // as a drop loads them, with the count in the status bar

    // One edited row: painted in the modified colour until the tags are written.
    SelectRows(list, {MODIFIED_ROW});
    list.BatchSetText(ID_BATCH_COMMENT, "edited");
    SelectRows(list, {SELECTED_ROW});
    SetForegroundWindow(*frame);
    list.SetFocus();

    SetTimer(nullptr, 0, 500, &RunScene);
    SetTimer(nullptr, 0, seconds * 1000, &EndShowcase);
    return TRUE;
}

int CShowcaseApp::ExitInstance()
{
    for (const std::string& file : m_files)
        DeleteFileA(file.c_str());
    if (!m_folder.empty())
        RemoveDirectoryA(m_folder.c_str());
    return CWinApp::ExitInstance();
}

} // namespace
