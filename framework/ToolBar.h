#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "Wnd.h"

// Where a bar sits in its frame.
enum DockSide { DOCK_TOP, DOCK_BOTTOM, DOCK_LEFT, DOCK_RIGHT };

// A toolbar loaded from a TOOLBAR resource and its bitmap: flat buttons with tooltips, a
// gripper by which the user drags it to any side of the frame.
class CToolBar : public CWnd
{
public:
    bool Create(HWND frame, UINT id);
    // Loads the buttons (the TOOLBAR resource) and their images (the bitmap of the same id).
    bool LoadToolBar(UINT id);

    // The command ids in order, 0 for a separator.
    const std::vector<UINT>& Buttons() const { return m_buttons; }
    // Sets each button's enabled state from the frame's command routing.
    void UpdateButtons(CWnd& target);

    DockSide GetDockSide() const { return m_dockSide; }
    void SetDockSide(DockSide side);
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
    DockSide SideNearest(POINT screen) const;

    std::vector<UINT> m_buttons;
    DockSide m_dockSide = DOCK_TOP;
    bool m_bDragging = false;

    DECLARE_MESSAGE_MAP()
};
