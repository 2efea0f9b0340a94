#include "FrameWnd.h"

#include <commctrl.h>

#include "Controls.h"
#include "ResString.h"
#include "ToolBar.h"
#include "WinApp.h"

namespace {

// Sets a menu item's state as an enabling handler asks.
class CMenuCmdUI : public CCmdUI
{
public:
    CMenuCmdUI(HMENU menu, UINT index, UINT id) : CCmdUI(id), m_hMenu(menu), m_nIndex(index) {}
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    }
    void SetText(const std::string& text) override
    {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<char*>(text.c_str());
        SetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &info);
    }

private:
    HMENU m_hMenu;
    UINT m_nIndex;
};

std::string CommandStringPart(UINT id, bool tip)
{
    const std::string text = LoadResString(id);
    const size_t newline = text.find('\n');
    if (newline == std::string::npos)
        return tip ? std::string() : text;
    return tip ? text.substr(newline + 1) : text.substr(0, newline);
}

} // namespace

std::string CommandPrompt(UINT id)
{
    return CommandStringPart(id, false);
}

std::string CommandTip(UINT id)
{
    return CommandStringPart(id, true);
}

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_EXITMENULOOP()
    ON_WM_HELPINFO()
    ON_NOTIFY_RANGE(TTN_GETDISPINFOA, 0, 0xFFFF, OnToolTipText)
    ON_NOTIFY_RANGE(TBN_HOTITEMCHANGE, 0, 0xFFFF, OnHotItemChange)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnViewBar)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnUpdateViewBar)
END_MESSAGE_MAP()

bool CFrameWnd::LoadFrame(UINT idResource, DWORD style)
{
    m_nIDResource = idResource;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(idResource));
    m_hAccelTable = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(idResource));
    const std::string title = LoadResString(idResource);
    if (!CreateEx(0, nullptr, title.c_str(), style, rectDefault, nullptr,
                  static_cast<UINT>(reinterpret_cast<UINT_PTR>(menu)))) {
        if (menu)
            DestroyMenu(menu);
        return false;
    }
    return true;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass) {
        HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDResource));
        cs.lpszClass = RegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW), nullptr, icon);
    }
    return cs.lpszClass != nullptr;
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* app = GetApp();
    if (app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    delete this; // a frame lives on the heap and goes with its window
}

void CFrameWnd::OnDestroy()
{
    CWinApp* app = GetApp();
    if (app && app->m_pMainWnd == this)
        PostQuitMessage(0);
    Default();
}

bool CFrameWnd::CreateToolBar(CToolBar& bar, UINT idResource)
{
    if (!bar.Create(*this, m_hWnd, ID_VIEW_TOOLBAR) || !bar.LoadToolBar(idResource))
        return false;
    m_pToolBar = &bar;
    return true;
}

CStatusBar* CFrameWnd::GetStatusBar() const
{
    return dynamic_cast<CStatusBar*>(CWnd::FromHandle(GetDlgItem(m_hWnd, ID_VIEW_STATUS_BAR)));
}

CWnd* CFrameWnd::GetFirstPane() const
{
    return CWnd::FromHandle(GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
}

void CFrameWnd::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::RecalcLayout()
{
    RECT free = GetClientRect();
    CStatusBar* status = GetStatusBar();
    if (status && IsWindowVisible(*status)) {
        status->SendMessage(WM_SIZE);
        status->LayoutPanes();
        const RECT bar = status->GetWindowRect();
        free.bottom -= bar.bottom - bar.top;
    }
    CToolBar* toolBar = GetToolBar();
    if (toolBar && toolBar->GetDockSide() != DOCK_FLOAT && IsWindowVisible(*toolBar)) {
        const SIZE size = toolBar->CalcSize();
        RECT bar = free;
        switch (toolBar->GetDockSide()) {
        case DOCK_TOP: bar.bottom = bar.top + size.cy; free.top = bar.bottom; break;
        case DOCK_BOTTOM: bar.top = bar.bottom - size.cy; free.bottom = bar.top; break;
        case DOCK_LEFT: bar.right = bar.left + size.cx; free.left = bar.right; break;
        case DOCK_RIGHT: bar.left = bar.right - size.cx; free.right = bar.left; break;
        case DOCK_FLOAT: break;
        }
        toolBar->MoveWindow(bar);
    }
    if (CWnd* pane = GetFirstPane())
        pane->MoveWindow(free);
}

void CFrameWnd::SetMessageText(const std::string& text)
{
    if (CStatusBar* status = GetStatusBar())
        status->SetText(0, text);
}

void CFrameWnd::SetIdleMessage()
{
    SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));
}

bool CFrameWnd::IsCommandEnabled(CWnd& target, UINT id)
{
    CCmdUI query(id);
    return UpdateCommand(target, query);
}

bool CFrameWnd::UpdateCommand(CWnd& target, CCmdUI& state)
{
    target.OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state);
    if (!state.m_bHandled)
        state.Enable(target.OnCmdMsg(state.m_nID, CN_PROBE, nullptr));
    return state.m_bEnabled;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, CCmdUI* cmdUI)
{
    if (CWnd::OnCmdMsg(id, code, cmdUI))
        return TRUE;
    CWinApp* app = GetApp();
    return app && app->OnCmdMsg(id, code, cmdUI);
}

// Menus, accelerators, toolbar buttons and posted commands: a disabled command is not run.
BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const HWND control = reinterpret_cast<HWND>(lParam);
    const bool fromBar = control && CWnd::FromHandle(control) == GetToolBar();
    if (!control || fromBar) {
        if (!IsCommandEnabled(*this, id))
            return TRUE;
        return OnCmdMsg(id, CN_COMMAND, nullptr);
    }
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !m_hAccelTable)
        return FALSE;
    // Text boxes keep their own keys (paste, undo, ...): no accelerators while one has the focus.
    char className[16] = "";
    GetClassNameA(GetFocus(), className, sizeof className);
    if (lstrcmpiA(className, "Edit") == 0)
        return FALSE;
    return TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) != 0;
}

void CFrameWnd::OnInitMenuPopup(HMENU menu, UINT, BOOL sysMenu)
{
    if (!sysMenu)
        UpdateMenuItems(menu);
}

// Asks every item's enabling rule, in sub-menus too, so a sub-menu is right as soon as it shows.
void CFrameWnd::UpdateMenuItems(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            UpdateMenuItems(sub);
            continue;
        }
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue; // separators
        CMenuCmdUI state(menu, static_cast<UINT>(i), id);
        UpdateCommand(*this, state);
    }
}

void CFrameWnd::ShowPrompt(UINT id)
{
    SetMessageText(CommandPrompt(id));
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && !menu)
        SetIdleMessage(); // the menu closed
    else if (flags & (MF_POPUP | MF_SEPARATOR))
        SetMessageText(std::string());
    else
        ShowPrompt(item);
}

void CFrameWnd::OnExitMenuLoop(BOOL)
{
    SetIdleMessage();
}

// F1 reaches the frame as the platform's help request: it runs Help > Contents.
BOOL CFrameWnd::OnHelpInfo(HELPINFO*)
{
    SendMessage(WM_COMMAND, ID_HELP_FINDER);
    return TRUE;
}

void CFrameWnd::OnToolTipText(NMHDR* hdr, LRESULT* result)
{
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(hdr);
    static std::string s_tip; // must outlive the notification
    s_tip = CommandTip(static_cast<UINT>(hdr->idFrom));
    info->lpszText = const_cast<char*>(s_tip.c_str());
    info->hinst = nullptr;
    *result = 0;
}

// The prompt of the button under the mouse, "Ready" when it leaves.
void CFrameWnd::OnHotItemChange(NMHDR* hdr, LRESULT* result)
{
    const auto* info = reinterpret_cast<NMTBHOTITEM*>(hdr);
    if (info->dwFlags & HICF_LEAVING)
        SetIdleMessage();
    else
        ShowPrompt(static_cast<UINT>(info->idNew));
    *result = 0;
}

void CFrameWnd::OnAppExit()
{
    SendMessage(WM_CLOSE);
}

void CFrameWnd::OnViewBar(UINT id)
{
    if (id == ID_VIEW_TOOLBAR) {
        if (CToolBar* toolBar = GetToolBar())
            toolBar->ShowBar(!toolBar->IsBarVisible());
        return;
    }
    if (CStatusBar* status = GetStatusBar()) {
        status->ShowWindow(IsWindowVisible(*status) ? SW_HIDE : SW_SHOW);
        RecalcLayout();
    }
}

void CFrameWnd::OnUpdateViewBar(CCmdUI* cmdUI)
{
    bool exists, visible;
    if (cmdUI->m_nID == ID_VIEW_TOOLBAR) {
        CToolBar* toolBar = GetToolBar();
        exists = toolBar != nullptr;
        visible = exists && toolBar->IsBarVisible();
    } else {
        CStatusBar* status = GetStatusBar();
        exists = status != nullptr;
        visible = exists && IsWindowVisible(*status);
    }
    cmdUI->Enable(exists);
    cmdUI->SetCheck(visible);
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    if (CToolBar* toolBar = GetToolBar())
        toolBar->UpdateButtons();
    if (CStatusBar* status = GetStatusBar())
        status->UpdateIndicators();
}
