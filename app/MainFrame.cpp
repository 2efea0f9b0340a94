#include "MainFrame.h"

#include "app/resource.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/ResString.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CMainFrame, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_FILE_RENAME, OnFileRename)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_format("[title]-[artist].mp3")
{
    m_format.CompileFormat();
}

bool CMainFrame::Create()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const char* wndClass = RegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW), nullptr,
                                            LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME)));
    return CreateEx(0, wndClass, LoadResString(IDR_MAINFRAME).c_str(), WS_OVERLAPPEDWINDOW,
                    rectDefault, nullptr, 0);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA)
{
    if (Default() == -1)
        return -1;
    if (!m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 0, 0}, m_hWnd, IDC_TRACKLIST))
        return -1;
    m_list.InitList();
    if (!m_wndStatusBar.Create(m_hWnd, AFX_IDW_STATUS_BAR))
        return -1;
    m_wndStatusBar.SetText(0, "Ready");
    return 0;
}

void CMainFrame::OnSize(UINT, int cx, int cy)
{
    m_wndStatusBar.SendMessage(WM_SIZE);
    const RECT bar = m_wndStatusBar.GetWindowRect();
    const int barHeight = IsWindowVisible(m_wndStatusBar) ? bar.bottom - bar.top : 0;
    m_list.MoveWindow(RECT{0, 0, cx, cy - barHeight});
}

void CMainFrame::OnSetFocus(HWND)
{
    m_list.SetFocus();
}

void CMainFrame::ShowFileCount(int count)
{
    m_wndStatusBar.SetText(0, std::to_string(count) + " files loaded");
}

void CMainFrame::OnClose()
{
    if (!m_list.ModifiedTracks().IsEmpty() &&
        AppMessageBox(IDS_CONFIRM_EXIT, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_list.DeleteAllTracks();
    DestroyWindow();
}

void CMainFrame::OnFileRename()
{
    if (AppMessageBox(IDS_CONFIRM_RENAME, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CWaitCursor wait;
    m_list.RenameSelected(m_format);
}

void CMainFrame::OnDestroy()
{
    PostQuitMessage(0);
}

// The frame lives on the heap and goes with its window.
void CMainFrame::PostNcDestroy()
{
    if (GetApp() && GetApp()->m_pMainWnd == this)
        GetApp()->m_pMainWnd = nullptr;
    delete this;
}
