#include "QuillfoxApp.h"

#include <commctrl.h>

#include "app/MainFrame.h"

CQuillfoxApp theApp;

BOOL CQuillfoxApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    auto* frame = new CMainFrame;
    m_pMainWnd = frame;
    if (!frame->Create()) {
        m_pMainWnd = nullptr;
        delete frame;
        return FALSE;
    }
    frame->ShowWindow(SW_SHOW);
    UpdateWindow(*frame);
    return TRUE;
}
