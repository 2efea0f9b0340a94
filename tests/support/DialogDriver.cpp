#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CDialogDriver* s_active = nullptr;

constexpr UINT TICK_MS = 20;
constexpr DWORD PATIENCE_MS = 5000; // how long a dialog may stay open after its step

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found)
{
    char name[16] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

CDialogDriver::CDialogDriver()
{
    s_active = this;
    m_timer = SetTimer(nullptr, 0, TICK_MS, &OnTimer);
}

CDialogDriver::~CDialogDriver()
{
    KillTimer(nullptr, m_timer);
    s_active = nullptr;
    EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " scripted dialogs never opened";
}

CDialogDriver& CDialogDriver::Then(Step step)
{
    m_steps.push_back(std::move(step));
    return *this;
}

void CALLBACK CDialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_active)
        s_active->Tick();
}

void CDialogDriver::Tick()
{
    const HWND dialog = VisibleDialog();
    if (!dialog)
        return;
    if (dialog == m_handled) {
        if (!m_cancelled && GetTickCount() - m_handledAt > PATIENCE_MS) {
            ADD_FAILURE() << "dialog \"" << WindowText(dialog) << "\" still open after its step";
            m_cancelled = true;
            EndDialog(dialog, IDCANCEL);
        }
        return;
    }
    m_handled = dialog;
    m_handledAt = GetTickCount();
    m_cancelled = false;
    if (m_steps.empty()) {
        ADD_FAILURE() << "unexpected dialog \"" << WindowText(dialog) << "\"";
        m_cancelled = true;
        EndDialog(dialog, IDCANCEL);
        return;
    }
    const Step step = std::move(m_steps.front());
    m_steps.pop_front();
    step(dialog);
}

std::string ItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

int FocusedId(HWND dialog)
{
    const HWND focus = GetFocus();
    return focus && IsChild(dialog, focus) ? GetDlgCtrlID(focus) : 0;
}

void TypeText(HWND control, const std::string& text)
{
    for (char c : text)
        PostMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void ReplaceText(HWND control, const std::string& text)
{
    SendMessageA(control, EM_SETSEL, 0, -1);
    TypeText(control, text);
}

void PressKey(HWND dialog, UINT key)
{
    const HWND focus = GetFocus();
    PostMessageA(focus && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, key, 1);
}

void ClickButton(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void CloseBox(HWND dialog)
{
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

namespace {

BOOL CALLBACK MeasureStatic(HWND control, LPARAM cut)
{
    char name[16] = "";
    GetClassNameA(control, name, sizeof name);
    if (lstrcmpiA(name, "Static") != 0)
        return TRUE;
    const std::string text = WindowText(control);
    RECT has{};
    GetClientRect(control, &has);
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT needs = {0, 0, has.right, 0};
    UINT format = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS;
    if (GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    DrawTextA(dc, text.c_str(), -1, &needs, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (needs.right > has.right || needs.bottom > has.bottom) {
        reinterpret_cast<std::vector<std::string>*>(cut)->push_back(
            text + " (needs " + std::to_string(needs.right) + " x " + std::to_string(needs.bottom) + ", has " +
            std::to_string(has.right) + " x " + std::to_string(has.bottom) + ")");
    }
    return TRUE;
}

} // namespace

std::vector<std::string> TextsThatDoNotFit(HWND dialog)
{
    std::vector<std::string> cut;
    EnumChildWindows(dialog, &MeasureStatic, reinterpret_cast<LPARAM>(&cut));
    return cut;
}
