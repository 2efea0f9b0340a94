#include "Controls.h"

#include "ResString.h"
#include "WideText.h"

#include <vector>

bool CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

void CImageList::DeleteImageList()
{
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
}

bool CListCtrl::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateEx(0, WC_LISTVIEWA, "", style, rect, parent, id);
}

std::string CListCtrl::GetItemText(int row, int column) const
{
    // The control copies at most the buffer's size; grow until the text fits.
    std::vector<char> buffer(256);
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const int length = static_cast<int>(
            SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length < static_cast<int>(buffer.size()) - 1)
            return std::string(item.pszText, static_cast<size_t>(length));
        buffer.resize(buffer.size() * 4);
    }
}

bool CListCtrl::SetItemState(int row, UINT state, UINT mask)
{
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) != 0;
}

bool CListCtrl::GetItemRect(int row, RECT& rect, int code) const
{
    rect.left = code;
    return SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) != 0;
}

int CListCtrl::HitTest(POINT pt) const
{
    LVHITTESTINFO info{};
    info.pt = pt;
    return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

int CListCtrl::InsertColumn(int column, const std::string& heading, int format, int width, int subItem)
{
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    col.fmt = format;
    col.cx = width;
    col.pszText = const_cast<char*>(heading.c_str());
    col.iSubItem = subItem;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)));
}

int CListCtrl::GetColumnFormat(int column) const
{
    LVCOLUMNA col{};
    col.mask = LVCF_FMT;
    SendMessage(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
    return col.fmt;
}

int CListCtrl::GetColumnCount() const
{
    const HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    return header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

bool CStatusBar::Create(HWND parent, UINT id, DWORD style)
{
    return CreateEx(0, STATUSCLASSNAMEA, "", style, RECT{0, 0, 0, 0}, parent, id);
}

bool CStatusBar::SetIndicators(const UINT* ids, int count)
{
    m_indicators.assign(ids, ids + count);
    LayoutPanes();
    UpdateIndicators();
    return true;
}

void CStatusBar::LayoutPanes()
{
    if (m_indicators.empty())
        return;
    HDC dc = ::GetDC(m_hWnd);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    std::vector<int> widths;
    for (UINT id : m_indicators) {
        const std::string text = LoadResString(id);
        const SIZE size = TextExtent(dc, text);
        widths.push_back(id == ID_SEPARATOR ? 0 : size.cx + 12);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);

    const RECT client = GetClientRect();
    int right = client.right - ::GetSystemMetrics(SM_CXVSCROLL); // room for the size grip
    std::vector<int> edges(widths.size());
    for (size_t i = widths.size(); i-- > 1;) {
        edges[i] = right;
        right -= widths[i];
    }
    edges[0] = right;
    edges.back() = -1;
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void CStatusBar::UpdateIndicators()
{
    for (size_t pane = 0; pane < m_indicators.size(); ++pane) {
        const UINT id = m_indicators[pane];
        int key = 0;
        switch (id) {
        case ID_INDICATOR_CAPS: key = VK_CAPITAL; break;
        case ID_INDICATOR_NUM: key = VK_NUMLOCK; break;
        case ID_INDICATOR_SCRL: key = VK_SCROLL; break;
        default: continue;
        }
        const std::string text = (::GetKeyState(key) & 1) ? LoadResString(id) : std::string();
        if (GetText(static_cast<int>(pane)) != text)
            SetText(static_cast<int>(pane), text);
    }
}

void CStatusBar::SetText(int pane, const std::string& text)
{
    SendMessage(SB_SETTEXTA, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CStatusBar::GetText(int pane) const
{
    const int length = LOWORD(SendMessage(SB_GETTEXTLENGTHA, static_cast<WPARAM>(pane)));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessage(SB_GETTEXTA, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string CComboBox::GetLBText(int index) const
{
    const int length = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0])));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}
