#include "GuiTest.h"

#include <commctrl.h>

CMessageBoxScript::CMessageBoxScript()
{
    m_previous = SetMessageBoxHandler(
        [this](HWND, const std::string& text, const std::string& caption, UINT type) {
            m_shown.push_back({text, caption, type});
            if (m_answers.empty()) {
                ADD_FAILURE() << "unexpected message box: " << text;
                return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDCANCEL;
            }
            const int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        });
}

CMessageBoxScript::~CMessageBoxScript()
{
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted answers were not used";
    SetMessageBoxHandler(std::move(m_previous));
}

CTestHost::CTestHost(int clientWidth, int clientHeight)
{
    RECT rect = {0, 0, clientWidth, clientHeight};
    const DWORD style = WS_POPUP | WS_VISIBLE; // any size, even a few pixels
    AdjustWindowRect(&rect, style, FALSE);
    OffsetRect(&rect, 40 - rect.left, 40 - rect.top);
    CreateEx(0, RegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
             "Test host", style, rect, nullptr, 0);
}

CTestHost::~CTestHost()
{
    DestroyWindow();
}

BOOL CTestHost::OnCmdMsg(UINT id, int code, CCmdUI* cmdUI)
{
    if (code == CN_COMMAND && !cmdUI) {
        m_commands.push_back(id);
        return TRUE;
    }
    return CWnd::OnCmdMsg(id, code, cmdUI);
}

BOOL CTestHost::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN)
        m_keysSeen.push_back(msg->wParam);
    return FALSE;
}

namespace {

BOOL CALLBACK TakeVisiblePopup(HWND hwnd, LPARAM out)
{
    char name[16] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) != "#32768" || !IsWindowVisible(hwnd))
        return TRUE;
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
}

} // namespace

HWND FindThreadPopup()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &TakeVisiblePopup, reinterpret_cast<LPARAM>(&found));
    return found;
}

void PumpMessages()
{
    GetApp()->PumpWaiting();
}
