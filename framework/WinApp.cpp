#include "WinApp.h"

#include "ResString.h"

namespace {
CWinApp* s_pApp = nullptr;
}

CWinApp* GetApp()
{
    return s_pApp;
}

CWinApp::CWinApp(const char* appName) : m_hInstance(GetModuleHandleA(nullptr))
{
    m_strAppName = appName ? appName : LoadResString(AFX_IDS_APP_TITLE);
    s_pApp = this;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = nullptr;
}

BOOL CWinApp::OnIdle(LONG count)
{
    if (count == 0 && m_pMainWnd)
        m_pMainWnd->OnIdleUpdateCmdUI();
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    const HWND top = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = CWnd::FromHandle(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (hwnd == top)
            break;
    }
    return FALSE;
}

void CWinApp::Handle(MSG& msg)
{
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool CWinApp::PumpMessage()
{
    MSG msg;
    if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) {
        m_nExitCode = static_cast<int>(msg.wParam);
        return false;
    }
    Handle(msg);
    return true;
}

bool CWinApp::PumpWaiting()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            m_nExitCode = static_cast<int>(msg.wParam);
            return false;
        }
        Handle(msg);
    }
    for (LONG count = 0; OnIdle(count); ++count) {
    }
    return true;
}

int CWinApp::Run()
{
    MSG msg;
    for (;;) {
        for (LONG count = 0; !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(count);
             ++count) {
        }
        if (!PumpMessage())
            break;
    }
    return ExitInstance();
}
