#include "ToolBar.h"


namespace {

const LPCSTR RT_TOOLBAR_RESOURCE = MAKEINTRESOURCEA(241);

// The TOOLBAR resource: button size and command ids (0 = separator). The resource compiler of
// the platform's SDK writes a version word then words; GNU windres writes double words without
// a version. Both are read.
struct ToolBarLayout
{
    int width = 0;
    int height = 0;
    std::vector<UINT> ids;
};

bool ReadToolBarResource(const void* data, DWORD size, ToolBarLayout& layout)
{
    const auto* words = static_cast<const WORD*>(data);
    if (size >= 8 && words[0] == 1 && size == 8u + 2u * words[3]) {
        layout.width = words[1];
        layout.height = words[2];
        layout.ids.assign(words + 4, words + 4 + words[3]);
        return true;
    }
    const auto* dwords = static_cast<const DWORD*>(data);
    if (size >= 12 && size == 12u + 4u * dwords[2]) {
        layout.width = static_cast<int>(dwords[0]);
        layout.height = static_cast<int>(dwords[1]);
        layout.ids.assign(dwords + 3, dwords + 3 + dwords[2]);
        return true;
    }
    return false;
}

} // namespace

BEGIN_MESSAGE_MAP(CToolBar, CWnd)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace {

// The small window a floating toolbar sits in. The bar's commands and notifications go on to the
// frame, as they do while it is docked; closing it docks the bar at the top, hidden.
class CFloatingBar : public CWnd
{
public:
    CFloatingBar(CToolBar& bar, HWND frame) : m_bar(bar), m_hFrame(frame) {}

protected:
    void PostNcDestroy() override
    {
        m_bar.FloatingWindowGone();
        delete this;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
            return ::SendMessageA(m_hFrame, msg, wParam, lParam);
        case WM_CLOSE:
            m_bar.ShowBar(false);
            return 0;
        default:
            return CWnd::WindowProc(msg, wParam, lParam);
        }
    }

private:
    CToolBar& m_bar;
    HWND m_hFrame;
};

} // namespace

bool CToolBar::Create(IToolBarSite& site, HWND frame, UINT id)
{
    m_pSite = &site;
    m_hFrame = frame;
    const DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                        CCS_NORESIZE | CCS_NOPARENTALIGN;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, "", style, RECT{0, 0, 0, 0}, frame, id))
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return true;
}

bool CToolBar::LoadToolBar(UINT id)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_TOOLBAR_RESOURCE);
    const void* data = found ? LockResource(LoadResource(instance, found)) : nullptr;
    ToolBarLayout layout;
    if (!data || !ReadToolBarResource(data, SizeofResource(instance, found), layout))
        return false;

    // Black, greys and white of the bitmap take the system's button colours.
    HBITMAP bitmap = CreateMappedBitmap(instance, static_cast<INT_PTR>(id), 0, nullptr, 0);
    if (!bitmap)
        return false;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(layout.width, layout.height));
    TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
    int images = 0;
    for (UINT command : layout.ids)
        images += command != 0;
    SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&add));

    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (UINT command : layout.ids) {
        TBBUTTON button{};
        button.idCommand = static_cast<int>(command);
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = command ? BTNS_BUTTON : BTNS_SEP;
        button.iBitmap = command ? image++ : 0;
        buttons.push_back(button);
    }
    m_buttons = layout.ids;
    SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessage(TB_AUTOSIZE);
    return true;
}

void CToolBar::UpdateButtons()
{
    for (UINT id : m_buttons) {
        if (id == 0)
            continue;
        const bool enabled = m_pSite->IsCommandEnabled(id);
        const bool shown = (SendMessage(TB_GETSTATE, id) & TBSTATE_ENABLED) != 0;
        if (enabled != shown)
            SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enabled, 0));
    }
}

void CToolBar::SetLayout(bool vertical)
{
    // A vertical bar puts every button on a row of its own.
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_STATE | TBIF_BYINDEX;
        SendMessage(TB_GETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
        info.fsState = static_cast<BYTE>(vertical ? (info.fsState | TBSTATE_WRAP) : (info.fsState & ~TBSTATE_WRAP));
        SendMessage(TB_SETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
    }
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void CToolBar::RelayoutFrame()
{
    m_pSite->RecalcLayout();
}

void CToolBar::Dock(DockSide side)
{
    if (side == DOCK_FLOAT)
        return;
    const bool wasVisible = IsBarVisible();
    if (CWnd* floating = m_pFloating) {
        m_pFloating = nullptr;
        ::SetParent(m_hWnd, m_hFrame);
        floating->DestroyWindow(); // it deletes itself once its own messages have returned
        ShowWindow(wasVisible ? SW_SHOW : SW_HIDE);
    }
    m_dockSide = side;
    SetLayout(side == DOCK_LEFT || side == DOCK_RIGHT);
    RelayoutFrame();
}

void CToolBar::Float(POINT screen)
{
    m_dockSide = DOCK_FLOAT;
    SetLayout(false);
    const SIZE size = CalcSize();
    RECT rect = {0, 0, size.cx, size.cy};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&rect, style, FALSE, WS_EX_TOOLWINDOW);
    OffsetRect(&rect, screen.x - rect.left, screen.y - rect.top);
    if (!m_pFloating) {
        auto* floating = new CFloatingBar(*this, m_hFrame);
        if (!floating->CreateEx(WS_EX_TOOLWINDOW, RegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW),
                                                                  GetSysColorBrush(COLOR_BTNFACE)),
                                "", style, rect, m_hFrame, 0)) {
            delete floating; // a window never made never reaches PostNcDestroy
            Dock(DOCK_TOP);
            return;
        }
        m_pFloating = floating;
        ::SetParent(m_hWnd, *m_pFloating);
    } else {
        m_pFloating->MoveWindow(rect);
    }
    ::MoveWindow(m_hWnd, 0, 0, size.cx, size.cy, TRUE);
    ShowWindow(SW_SHOW);
    m_pFloating->ShowWindow(SW_SHOWNA);
    RelayoutFrame();
}

void CToolBar::ShowBar(bool show)
{
    if (m_pFloating && !show) {
        // A closed floating bar comes back docked at the top the next time it is shown.
        Dock(DOCK_TOP);
    }
    ShowWindow(show ? SW_SHOW : SW_HIDE);
    RelayoutFrame();
}

bool CToolBar::IsBarVisible() const
{
    return IsWindowVisible(m_hWnd) != FALSE;
}

SIZE CToolBar::CalcSize() const
{
    SIZE size{};
    SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    const bool vertical = m_dockSide == DOCK_LEFT || m_dockSide == DOCK_RIGHT;
    if (vertical)
        size.cy += GRIPPER;
    else
        size.cx += GRIPPER;
    return size;
}

RECT CToolBar::GripperRect() const
{
    const RECT window = GetWindowRect();
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    if (m_dockSide == DOCK_LEFT || m_dockSide == DOCK_RIGHT)
        return RECT{0, 0, width, GRIPPER};
    return RECT{0, 0, GRIPPER, height};
}

void CToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    RECT& client = params->rgrc[0];
    if (m_dockSide == DOCK_LEFT || m_dockSide == DOCK_RIGHT)
        client.top += GRIPPER;
    else
        client.left += GRIPPER;
}

void CToolBar::OnNcPaint()
{
    HDC dc = GetWindowDC(m_hWnd);
    RECT gripper = GripperRect();
    FillRect(dc, &gripper, GetSysColorBrush(COLOR_BTNFACE));
    // Two raised ridges across the bar.
    const bool vertical = m_dockSide == DOCK_LEFT || m_dockSide == DOCK_RIGHT;
    for (int i = 0; i < 2; ++i) {
        RECT ridge = vertical ? RECT{2, 2 + 3 * i, gripper.right - 2, 4 + 3 * i}
                              : RECT{2 + 3 * i, 2, 4 + 3 * i, gripper.bottom - 2};
        DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
    }
    ReleaseDC(m_hWnd, dc);
}

LRESULT CToolBar::OnNcHitTest(POINT screen)
{
    RECT gripper = GripperRect();
    const RECT window = GetWindowRect();
    OffsetRect(&gripper, window.left, window.top);
    if (PtInRect(&gripper, screen))
        return HTCAPTION; // the gripper is where the bar is picked up
    return Default();
}

void CToolBar::OnNcLButtonDown(UINT hit, POINT)
{
    if (hit != HTCAPTION) {
        Default();
        return;
    }
    m_bDragging = true;
    SetCapture(m_hWnd);
}

void CToolBar::OnLButtonUp(UINT, POINT point)
{
    if (!m_bDragging) {
        Default();
        return;
    }
    m_bDragging = false;
    ReleaseCapture();
    ClientToScreen(m_hWnd, &point);
    const DockSide side = SideAt(point);
    if (side == DOCK_FLOAT)
        Float(point);
    else
        Dock(side);
}

void CToolBar::OnCaptureChanged(HWND)
{
    m_bDragging = false;
    Default();
}

DockSide CToolBar::SideAt(POINT screen) const
{
    RECT client{};
    ::GetClientRect(m_hFrame, &client);
    ScreenToClient(m_hFrame, &screen);
    if (!PtInRect(&client, screen))
        return DOCK_FLOAT;
    const LONG distances[] = {screen.y - client.top, client.bottom - screen.y, screen.x - client.left,
                              client.right - screen.x};
    int nearest = 0;
    for (int side = 1; side < 4; ++side) {
        if (distances[side] < distances[nearest])
            nearest = side;
    }
    return static_cast<DockSide>(nearest);
}
