#include "QuillfoxApp.h"

#include <commctrl.h>

#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "app/resource.h"
#include "dialogs/AboutBoxDlg.h"
#include "framework/Profile.h"

BOOL CQuillfoxApp::InitInstance()
{
    // The folder picker and the taskbar's progress are COM objects.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // Before the frame: its view reads the stored file-name format when it is made.
    SetRegistryKey("Quillworks", m_strAppName);

    auto* frame = new CMainFrame;
    m_pMainWnd = frame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) {
        // A window that got as far as its first message deleted its frame as it went.
        if (m_pMainWnd == frame && !frame->m_hWnd)
            delete frame;
        m_pMainWnd = nullptr;
        return FALSE;
    }
    frame->ShowWindow(SW_SHOW);
    UpdateWindow(*frame);
    // What Explorer hands over: files dropped on the program's icon, "Open with", "Send to".
    frame->LoadWhenShown(PathsOnCommandLine(m_strCommandLine));
    return TRUE;
}

// About is always available: it answers the probe and has no enabling rule of its own.
BOOL CQuillfoxApp::OnCmdMsg(UINT id, int code, CCmdUI* cmdUI)
{
    if (id != ID_APP_ABOUT)
        return CWinApp::OnCmdMsg(id, code, cmdUI);
    if (code == CN_COMMAND)
        OnAppAbout();
    return code == CN_COMMAND || code == CN_PROBE;
}

void CQuillfoxApp::OnAppAbout()
{
    CAboutBoxDlg about;
    about.DoModal();
}
