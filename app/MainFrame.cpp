#include "MainFrame.h"

#include <htmlhelp.h>

#include "app/resource.h"
#include "framework/LateBound.h"
#include "framework/MessageBox.h"
#include "framework/ResString.h"

#include <utility>

namespace {

const UINT Indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

// Posted to the frame to load the command line's paths once the window is up.
constexpr UINT WM_LOADPATHS = WM_APP + 1;

} // namespace

std::string HelpFileBesideProgram()
{
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, length < sizeof path ? length : 0);
    file.erase(file.find_last_of('\\') + 1);
    return file + "QuillfoxHlp.chm";
}

HWND SystemHtmlHelp(HWND caller, const std::string& file, UINT command, DWORD_PTR data)
{
    static const auto help = LateBound<decltype(HtmlHelpA)>("hhctrl.ocx", "HtmlHelpA");
    return help ? help(caller, file.empty() ? nullptr : file.c_str(), command, data) : nullptr;
}

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_CLOSE()
    ON_WM_QUERYENDSESSION()
    ON_MESSAGE(WM_LOADPATHS, OnLoadPaths)
    ON_COMMAND(ID_HELP_FINDER, OnHelpContents)
    ON_COMMAND(ID_HELP_INDEX, OnHelpIndex)
END_MESSAGE_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    cs.lpszClass = RegisterWndClass(0, nullptr, nullptr, icon);
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA)
{
    if (Default() == -1)
        return -1;
    if (!m_wndView.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{0, 0, 0, 0}, m_hWnd,
                            AFX_IDW_PANE_FIRST))
        return -1;
    if (!m_wndView.CreateList(*this, m_hWnd, GetClientRect().right))
        return -1;
    if (!CreateToolBar(m_wndToolBar, IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(m_hWnd, ID_VIEW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(Indicators, sizeof Indicators / sizeof Indicators[0]))
        return -1;
    m_wndToolBar.Dock(DOCK_TOP);
    SetIdleMessage();
    RecalcLayout();
    return 0;
}

// Every command and enabling query goes to the view first. While a long run goes on, no
// command starts and every menu item and button is disabled.
BOOL CMainFrame::OnCmdMsg(UINT id, int code, CCmdUI* cmdUI)
{
    if (m_wndView.m_hWnd && m_wndView.Busy()) {
        if (code == CN_UPDATE_COMMAND_UI && cmdUI)
            cmdUI->Enable(FALSE);
        return TRUE;
    }
    if (m_wndView.m_hWnd && m_wndView.OnCmdMsg(id, code, cmdUI))
        return TRUE;
    return CFrameWnd::OnCmdMsg(id, code, cmdUI);
}

void CMainFrame::OnSetFocus(HWND)
{
    m_wndView.SetFocus();
}

void CMainFrame::ShowFileCount(int count, int passedOver)
{
    SetMessageText(passedOver > 0 ? FormatResString(IDS_FILES_LOADED_REPEATS, count, passedOver)
                                  : FormatResString(IDS_FILES_LOADED, count));
}

void CMainFrame::LoadWhenShown(std::vector<std::string> paths)
{
    m_pathsToLoad = std::move(paths);
    if (!m_pathsToLoad.empty())
        PostMessage(WM_LOADPATHS);
}

LRESULT CMainFrame::OnLoadPaths(WPARAM, LPARAM)
{
    m_wndView.LoadFiles(std::exchange(m_pathsToLoad, {}));
    return 0;
}

bool CMainFrame::MayClose()
{
    // An edit still open joins the modified list first, and a File Name edit is asked about now.
    m_wndView.FinishEditing();
    if (m_wndView.List().ModifiedTracks().IsEmpty())
        return true;
    return AppMessageBox(IDS_CONFIRM_EXIT, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CMainFrame::OnClose()
{
    // A long run is stopped first, then closing goes on as it would have.
    if (m_wndView.Busy()) {
        if (AppMessageBox(IDS_STILL_WORKING, MB_YESNO | MB_ICONQUESTION) == IDYES)
            m_wndView.StopRun(true);
        return;
    }
    if (!MayClose())
        return;
    m_wndView.List().DeleteAllTracks();
    m_htmlHelp(nullptr, std::string(), HH_CLOSE_ALL, 0); // the help viewer goes with the program
    DestroyWindow();
}

BOOL CMainFrame::OnQueryEndSession()
{
    return MayClose();
}

void CMainFrame::OnHelpContents()
{
    m_htmlHelp(m_wndView, m_strHelpFile, HH_DISPLAY_TOC, 0);
}

void CMainFrame::OnHelpIndex()
{
    m_htmlHelp(m_wndView, m_strHelpFile, HH_DISPLAY_INDEX, 0);
}
