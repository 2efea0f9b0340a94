#pragma once
#include <windows.h>

#include <string>

#include "FrameworkIds.h"
#include "ToolBar.h"
#include "Wnd.h"

class CStatusBar;

// A top-level window loaded from one resource id (title, icon, menu, accelerators) that lays out
// its toolbar, status bar and first pane, routes commands, and keeps menus and buttons enabled
// according to the handlers' enabling rules.
class CFrameWnd : public CWnd, public IToolBarSite
{
public:
    // Makes the toolbar the frame lays out, found even while it floats in a window of its own.
    bool CreateToolBar(CToolBar& bar, UINT idResource);
    bool LoadFrame(UINT idResource, DWORD style);
    // Places the bars along their sides and gives the rest of the client area to the first pane.
    void RecalcLayout() override;
    bool IsCommandEnabled(UINT id) override { return IsCommandEnabled(*this, id); }
    // Shows a text in the message pane of the status bar.
    void SetMessageText(const std::string& text);
    // The message pane's idle text ("Ready").
    void SetIdleMessage();

    // Runs the enabling rule of a command along the target's routing: true when enabled. A
    // command without an enabling rule is enabled when some window handles it.
    static bool IsCommandEnabled(CWnd& target, UINT id);
    // Runs the enabling rule into the state object (a menu item, say); returns whether enabled.
    static bool UpdateCommand(CWnd& target, CCmdUI& state);
    // Idle-time work: toolbar buttons and status-bar indicators.
    void OnIdleUpdateCmdUI() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI) override;

    CToolBar* GetToolBar() const { return m_pToolBar; }
    CStatusBar* GetStatusBar() const;
    CWnd* GetFirstPane() const;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnInitMenuPopup(HMENU menu, UINT index, BOOL sysMenu);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnExitMenuLoop(BOOL trackPopup);
    BOOL OnHelpInfo(HELPINFO* info);
    void OnToolTipText(NMHDR* hdr, LRESULT* result);
    void OnHotItemChange(NMHDR* hdr, LRESULT* result);
    void OnAppExit();
    void OnViewBar(UINT id);
    void OnUpdateViewBar(CCmdUI* cmdUI);

    UINT m_nIDResource = 0;
    HACCEL m_hAccelTable = nullptr;
    CToolBar* m_pToolBar = nullptr;

private:
    void ShowPrompt(UINT id);
    void UpdateMenuItems(HMENU menu);

    DECLARE_MESSAGE_MAP()
};

// The text of a command's string: the prompt (before "\n") or the tooltip (after it).
std::string CommandPrompt(UINT id);
std::string CommandTip(UINT id);
