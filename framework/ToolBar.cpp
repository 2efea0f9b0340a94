#include "ToolBar.h"

#include "FrameWnd.h"

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

bool CToolBar::Create(HWND frame, UINT id)
{
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

void CToolBar::UpdateButtons(CWnd& target)
{
    for (UINT id : m_buttons) {
        if (id == 0)
            continue;
        const bool enabled = CFrameWnd::IsCommandEnabled(target, id);
        const bool shown = (SendMessage(TB_GETSTATE, id) & TBSTATE_ENABLED) != 0;
        if (enabled != shown)
            SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enabled, 0));
    }
}

void CToolBar::SetDockSide(DockSide side)
{
    m_dockSide = side;
    const bool vertical = side == DOCK_LEFT || side == DOCK_RIGHT;
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
    SetDockSide(SideNearest(point));
    if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(GetParent())))
        frame->RecalcLayout();
}

void CToolBar::OnCaptureChanged(HWND)
{
    m_bDragging = false;
    Default();
}

// The side of the frame's client area nearest to a screen point.
DockSide CToolBar::SideNearest(POINT screen) const
{
    RECT client{};
    const HWND frame = GetParent();
    ::GetClientRect(frame, &client);
    ScreenToClient(frame, &screen);
    const LONG distances[] = {screen.y - client.top, client.bottom - screen.y, screen.x - client.left,
                              client.right - screen.x};
    int nearest = 0;
    for (int side = 1; side < 4; ++side) {
        if (distances[side] < distances[nearest])
            nearest = side;
    }
    return static_cast<DockSide>(nearest);
}
