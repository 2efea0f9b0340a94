#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "Wnd.h"

// Where a bar sits: along a side of its frame, or floating in a small window of its own.
enum DockSide { DOCK_TOP, DOCK_BOTTOM, DOCK_LEFT, DOCK_RIGHT, DOCK_FLOAT };

// What a toolbar needs of the frame it docks in.
class IToolBarSite
{
public:
    // Lays the bars and the pane out again (the bar moved, changed side or size).
    virtual void RecalcLayout() = 0;
    // Whether a button's command may run now.
    virtual bool IsCommandEnabled(UINT id) = 0;

protected:
    ~IToolBarSite() = default;
};

// A toolbar loaded from a TOOLBAR resource and its bitmap: flat buttons with tooltips, a
// gripper by which the user drags it to any side of the frame, or out of it to float.
class CToolBar : public CWnd
{
public:
    bool Create(IToolBarSite& site, HWND frame, UINT id);
    // Loads the buttons (the TOOLBAR resource) and their images (the bitmap of the same id).
    bool LoadToolBar(UINT id);

    // The command ids in order, 0 for a separator.
    const std::vector<UINT>& Buttons() const { return m_buttons; }
    // Sets each button's enabled state from the site's enabling rules.
    void UpdateButtons();

    DockSide GetDockSide() const { return m_dockSide; }
    // Puts the bar along a side of the frame (and back into it when it floated).
    void Dock(DockSide side);
    // Puts the bar in a window of its own at a screen point.
    void Float(POINT screen);
    // The window that floats the bar, or null while it is docked.
    CWnd* FloatingWindow() const { return m_pFloating; }
    // Called by the floating window as it goes (it deletes itself).
    void FloatingWindowGone() { m_pFloating = nullptr; }
    // Shows or hides the bar, with its floating window.
    void ShowBar(bool show);
    bool IsBarVisible() const;
    // The size the bar needs on its side: height when horizontal, width when vertical.
    SIZE CalcSize() const;

    static constexpr int GRIPPER = 8;

protected:
    void OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params);
    void OnNcPaint();
    LRESULT OnNcHitTest(POINT screen);
    void OnNcLButtonDown(UINT hit, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    void OnCaptureChanged(HWND);

private:
    RECT GripperRect() const; // in window coordinates
    // The side of the frame nearest to a screen point inside its client area; DOCK_FLOAT outside.
    DockSide SideAt(POINT screen) const;
    void SetLayout(bool vertical);
    void RelayoutFrame();

    std::vector<UINT> m_buttons;
    IToolBarSite* m_pSite = nullptr;
    HWND m_hFrame = nullptr;
    DockSide m_dockSide = DOCK_TOP;
    bool m_bDragging = false;
    CWnd* m_pFloating = nullptr; // deletes itself when its window goes

    DECLARE_MESSAGE_MAP()
};
