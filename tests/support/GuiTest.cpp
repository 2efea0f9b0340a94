#include "GuiTest.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

std::string shown::WriteFailed(int count)
{
    return std::to_string(count) + " files could not be written. Make sure they exist and are not read-only or "
                                   "open in another program.";
}

std::string shown::RenameSummary(int renamed, int named, int exists, int skipped)
{
    char text[512];
    std::snprintf(text, sizeof text,
                  "Rename Complete:\n\t %d files renamed.\n\t %d files already named. \n\t %d files skipped because "
                  "new file name already exists. \n\t %d files skipped because there was not enough\n\t     "
                  "information or other errors occurred. \n\nThe skipped files will be highlighted.",
                  renamed, named, exists, skipped);
    return text;
}

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

Texts CMessageBoxScript::ShownTexts() const
{
    Texts texts;
    for (const ShownBox& box : m_shown)
        texts.push_back(box.text);
    return texts;
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

void PumpMessages()
{
    GetApp()->PumpWaiting();
}

CHeldKeys::CHeldKeys(std::initializer_list<int> keys, BYTE state)
{
    GetKeyboardState(m_before);
    BYTE now[256];
    std::memcpy(now, m_before, sizeof now);
    for (int key : keys)
        now[key] = state;
    SetKeyboardState(now);
}

CHeldKeys::~CHeldKeys()
{
    SetKeyboardState(m_before);
}

namespace {

struct PopupReading
{
    std::vector<MenuItem> items;
    int pick = -1;
    int ticks = 0;
};
PopupReading* s_reading = nullptr;

BOOL CALLBACK TakeVisiblePopup(HWND hwnd, LPARAM out)
{
    char name[16] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) != "#32768" || !IsWindowVisible(hwnd))
        return TRUE;
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
}

void ReadItems(HMENU menu, const std::string& indent, std::vector<MenuItem>& items)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        const bool separator = info.fType & MFT_SEPARATOR;
        items.push_back({indent + (separator ? "-" : text), info.hSubMenu || separator ? 0 : info.wID,
                         !(info.fState & MFS_DISABLED)});
        if (info.hSubMenu)
            ReadItems(info.hSubMenu, indent + "  ", items);
    }
}

void CALLBACK ReadOpenPopup(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &TakeVisiblePopup, reinterpret_cast<LPARAM>(&popup));
    if (!popup && ++s_reading->ticks < 100)
        return; // not open yet: try again at the next tick
    KillTimer(nullptr, timer);
    if (!popup)
        return;
    ReadItems(reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)), "", s_reading->items);
    if (s_reading->pick < 0) {
        EndMenu();
        return;
    }
    for (int i = 0; i <= s_reading->pick; ++i)
        PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
}

} // namespace

std::vector<MenuItem> ReadPopupMenu(const std::function<void()>& open, int pick)
{
    PopupReading reading;
    reading.pick = pick;
    s_reading = &reading;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &ReadOpenPopup);
    open();
    PumpMessages();
    KillTimer(nullptr, timer);
    s_reading = nullptr;
    return reading.items;
}
