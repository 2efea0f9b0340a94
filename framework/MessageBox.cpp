#include "MessageBox.h"

#include "ResString.h"
#include "WinApp.h"

namespace {

MessageBoxHandler& CurrentHandler()
{
    static MessageBoxHandler s_handler;
    return s_handler;
}

// The owner is the active window of the thread (a dialog, else the main window).
HWND BoxOwner()
{
    HWND active = ::GetActiveWindow();
    if (active)
        return active;
    CWinApp* app = GetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

int ShowMessageBox(const std::string& text, UINT type)
{
    CWinApp* app = GetApp();
    const std::string caption = app ? app->m_strAppName : LoadResString(AFX_IDS_APP_TITLE);
    const HWND owner = BoxOwner();
    if (CurrentHandler())
        return CurrentHandler()(owner, text, caption, type);
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

int AppMessageBox(UINT idText, UINT type)
{
    return ShowMessageBox(LoadResString(idText), type);
}
