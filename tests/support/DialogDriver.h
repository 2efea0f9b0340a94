#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/Wnd.h"

// Drives the modal dialogs that the code under test opens, from inside their own modal loops:
// a thread timer finds the thread's visible dialog window and runs the next scripted step on it.
// A step reads what the dialog shows and ends it as a user would (posted keys, a click, the close
// box). A scripted step whose dialog never appears fails the test; a dialog with no step left,
// or one still open a while after its step, fails the test and is cancelled, so no run hangs.
class CDialogDriver
{
public:
    using Step = std::function<void(HWND dialog)>;

    CDialogDriver();
    ~CDialogDriver();
    CDialogDriver(const CDialogDriver&) = delete;
    CDialogDriver& operator=(const CDialogDriver&) = delete;

    // Queues the step for the next dialog that opens.
    CDialogDriver& Then(Step step);
    int StepsLeft() const { return static_cast<int>(m_steps.size()); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::deque<Step> m_steps;
    UINT_PTR m_timer = 0;
    HWND m_handled = nullptr;     // the dialog the last step ran on
    DWORD m_handledAt = 0;
    bool m_cancelled = false;     // the watchdog ended m_handled
};

// What a dialog shows.
inline std::string WindowText(HWND hwnd) { return WindowTextOf(hwnd); }
std::string ItemText(HWND dialog, int id);
// The id of the control with the keyboard focus; 0 when the focus is elsewhere.
int FocusedId(HWND dialog);

// What a user does.
void TypeText(HWND control, const std::string& text);      // posted WM_CHAR, one per byte
void ReplaceText(HWND control, const std::string& text);   // select all, then type
void PressKey(HWND dialog, UINT key);                       // posted to the focused control
void ClickButton(HWND dialog, int id);                      // posted BM_CLICK
void CloseBox(HWND dialog);                                 // posted WM_CLOSE

// The static texts of a dialog that do not fit their controls, measured as the control draws
// them (its font, word wrapping); each as "text (needs W x H, has w x h)".
std::vector<std::string> TextsThatDoNotFit(HWND dialog);
