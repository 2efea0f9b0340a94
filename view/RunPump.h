#pragma once
#include <windows.h>

#include <string>

#include "tracklist/RunProgress.h"

struct ITaskbarList3;

// Where the program shows its state in words: the status bar's message pane.
class IStatusDisplay
{
public:
    // "%d files loaded", with the paths a load passed over as already in the list.
    virtual void ShowFileCount(int count, int passedOver = 0) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowIdleMessage() = 0;

protected:
    ~IStatusDisplay() = default;
};

// Keeps the program alive through a long run on the window thread. Once the run has lasted a
// moment it shows the progress in the status bar (and on the taskbar button where the system
// offers it) and lets waiting messages through, so the window repaints and can be moved; input
// waits, except Esc, which stops the run after the file in hand.
class CRunPump : public IRunProgress
{
public:
    // text: a string id with two "%s" for done and total ("Loading %s of %s files...");
    // counting: the same with one "%s", while the total is not known.
    CRunPump(IStatusDisplay& status, HWND window, UINT text, UINT counting, DWORD delayMs);
    ~CRunPump();
    CRunPump(const CRunPump&) = delete;
    CRunPump& operator=(const CRunPump&) = delete;

    bool Step(size_t done, size_t total) override;
    void RequestStop() { m_bStop = true; }
    bool Stopped() const { return m_bStop; }

private:
    void Show(size_t done, size_t total);
    void Pump();

    IStatusDisplay& m_status;
    HWND m_hWindow;
    UINT m_nText;
    UINT m_nCounting;
    DWORD m_nStart;
    DWORD m_nDelay;
    DWORD m_nLastPump = 0;
    bool m_bShown = false;
    bool m_bStop = false;
    ITaskbarList3* m_pTaskbar = nullptr;
};

// A count as the user's locale writes it ("2,345").
std::string FormatCount(size_t count);
