#pragma once
#include <windows.h>

#include "Wnd.h"

// The application object: start-up, the message loop with keystroke pre-translation along the
// window chain and idle time, and the last stop of command routing.
class CWinApp
{
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    // Called when the loop ends; returns the program's exit code.
    virtual int ExitInstance() { return m_nExitCode; }
    virtual BOOL OnCmdMsg(UINT, int, CCmdUI*) { return FALSE; }
    // Idle work; return true to be called again before the next message.
    virtual BOOL OnIdle(LONG count);
    // Offers a message to the windows from its target up to the main window.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Runs the message loop until WM_QUIT; returns its exit code.
    int Run();
    // Handles one message (waiting for it); false at WM_QUIT.
    bool PumpMessage();
    // Handles every message already waiting, then gives the idle handler its turn.
    // Returns false when WM_QUIT came (it is consumed).
    bool PumpWaiting();

    CWnd* GetMainWnd() const { return m_pMainWnd; }

    CWnd* m_pMainWnd = nullptr;
    // The command line the program was started with (set by WinMain; empty otherwise).
    std::wstring m_strCommandLine;
    HINSTANCE m_hInstance;
    std::string m_strAppName;

protected:
    int m_nExitCode = 0;

private:
    void Handle(MSG& msg);
};

// The one application object.
CWinApp* GetApp();
