#include "ToolTipCtrl.h"

namespace {

// The tool description every version of the common controls takes (the longer one of version 6
// is refused by older ones).
TTTOOLINFOA ToolInfo(HWND wnd, UINT id)
{
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = wnd;
    info.uId = id;
    return info;
}

} // namespace

bool CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, rectDefault,
                    parent ? parent->m_hWnd : nullptr, 0);
}

bool CToolTipCtrl::AddTool(CWnd* wnd, const std::string& text, const RECT& rect, UINT id)
{
    TTTOOLINFOA info = ToolInfo(*wnd, id);
    info.rect = rect;
    info.lpszText = const_cast<char*>(text.c_str()); // the tooltip keeps a copy
    return SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void CToolTipCtrl::RelayEvent(MSG* msg)
{
    if (m_hWnd)
        SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

void CToolTipCtrl::UpdateTipText(CWnd* wnd, UINT id, const std::string& text)
{
    TTTOOLINFOA info = ToolInfo(*wnd, id);
    info.lpszText = const_cast<char*>(text.c_str());
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

std::string CToolTipCtrl::GetText(CWnd* wnd, UINT id) const
{
    char text[1024] = ""; // a longer text is cut
    TTTOOLINFOA info = ToolInfo(*wnd, id);
    info.lpszText = text;
    SendMessage(TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    return text;
}
