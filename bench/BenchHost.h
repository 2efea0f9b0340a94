#pragma once
#include <windows.h>

#include "framework/WinApp.h"
#include "view/RunPump.h"

// Runs the messages waiting in the queue (paints, posted work), as the program's loop would.
inline void Pump()
{
    GetApp()->PumpWaiting();
}

// Plays the main window: the parent of the list or view under test and the status bar their
// long runs report to. Its client area is 1000 x 600, whatever the frame's borders.
class CBenchHost : public CWnd, public IStatusDisplay
{
public:
    // Shows the window and makes it the application's main window.
    bool Open(const char* title)
    {
        RECT rect = {0, 0, 1000, 600};
        const DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        AdjustWindowRect(&rect, style, FALSE);
        OffsetRect(&rect, 20 - rect.left, 20 - rect.top);
        const HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        if (!CreateEx(0, RegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW), background), title, style, rect, nullptr,
                      0))
            return false;
        GetApp()->m_pMainWnd = this;
        Pump();
        return true;
    }
    // Hands the main window back before the window goes.
    void Close()
    {
        GetApp()->m_pMainWnd = nullptr;
        DestroyWindow();
    }
    void ShowFileCount(int, int) override {}
    void ShowMessage(const std::string&) override {}
    void ShowIdleMessage() override {}
};
