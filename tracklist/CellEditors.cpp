#include "CellEditors.h"

#include "app/resource.h"
#include "model/GenreTable.h"
#include "framework/WideText.h"

namespace {

HFONT ListFont(HWND list)
{
    return reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0));
}

} // namespace

bool CEditedCell::Ending()
{
    const bool first = !m_bEnded;
    m_bEnded = true;
    return first;
}

// The notification goes to the list's parent, which hands it back to the list; the record and
// its text live for the duration of the call only.
void CEditedCell::Report(UINT editorId, const std::string* text, LPARAM data) const
{
    const HWND list = ::GetParent(m_editor);
    NMLVDISPINFOA info{};
    info.hdr.hwndFrom = list;
    info.hdr.idFrom = editorId;
    info.hdr.code = LVN_ENDLABELEDITA;
    info.item.mask = LVIF_TEXT | LVIF_PARAM;
    info.item.iItem = m_nRow;
    info.item.iSubItem = m_nColumn;
    info.item.pszText = text ? const_cast<char*>(text->c_str()) : nullptr;
    info.item.cchTextMax = text ? static_cast<int>(text->size()) : 0;
    info.item.lParam = data;
    ::SendMessageA(::GetParent(list), WM_NOTIFY, static_cast<WPARAM>(::GetDlgCtrlID(list)),
                   reinterpret_cast<LPARAM>(&info));
}

BEGIN_MESSAGE_MAP(CCellEdit, CSlotEdit)
    ON_WM_CREATE()
    ON_WM_KILLFOCUS()
    ON_WM_CHAR()
END_MESSAGE_MAP()


int CCellEdit::OnCreate(LPCREATESTRUCTA)
{
    if (!CreateInListFont())
        return -1;
    SetWindowText(m_cell.Original());
    SetFocus();
    SetSel(0, -1);
    SendMessage(EM_SCROLLCARET);
    return 0;
}

// Keys that would otherwise become accelerators of the main window go to the edit box:
// Enter, Delete, Escape, Insert, every key while Ctrl is down, and Alt+Backspace (its undo).
BOOL CCellEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd != m_hWnd)
        return FALSE;
    const WPARAM key = msg->wParam;
    if (msg->message == WM_SYSKEYDOWN && key == VK_BACK) {
        ::TranslateMessage(msg);
        ::DispatchMessageA(msg);
        return TRUE;
    }
    if (msg->message != WM_KEYDOWN)
        return FALSE;
    if (key == VK_RETURN || key == VK_DELETE || key == VK_ESCAPE || key == VK_INSERT ||
        (GetKeyState(VK_CONTROL) & 0x8000)) {
        ::TranslateMessage(msg);
        ::DispatchMessageA(msg);
        return TRUE;
    }
    return FALSE;
}

void CCellEdit::OnChar(UINT ch, UINT, UINT)
{
    if (ch == VK_ESCAPE) {
        m_bCancelled = TRUE;
        ::SetFocus(GetParent());
    } else if (ch == VK_RETURN) {
        ::SetFocus(GetParent());
    } else {
        CSlotEdit::OnChar(ch, 0, 0);
        GrowToText();
    }
}

// Widens the editor to its text plus 5 pixels, never past the list's right edge; never shrinks.
void CCellEdit::GrowToText()
{
    const HWND list = GetParent();
    const std::string text = GetWindowText();
    HDC dc = ::GetDC(m_hWnd);
    const HGDIOBJ oldFont = ::SelectObject(dc, ListFont(list));
    const SIZE extent = TextExtent(dc, text);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
    const int wanted = extent.cx + 5;

    RECT client = GetClientRect();
    ::MapWindowPoints(m_hWnd, list, reinterpret_cast<POINT*>(&client), 2);
    if (wanted <= client.right - client.left)
        return;
    RECT listClient{};
    ::GetClientRect(list, &listClient);
    const int right = client.left + wanted >= listClient.right ? listClient.right : client.left + wanted;
    // The window keeps its place and height; only its right edge moves.
    RECT window = GetWindowRect();
    ::MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&window), 2);
    ::MoveWindow(m_hWnd, window.left, window.top, right - window.left, window.bottom - window.top, TRUE);
}

void CCellEdit::OnKillFocus(HWND)
{
    Default();
    EndEdit();
}

void CCellEdit::EndEdit()
{
    if (!m_cell.Ending())
        return;
    const std::string text = GetWindowText();
    if (text != m_cell.Original())
        m_cell.Report(IDC_CELLEDIT, m_bCancelled ? nullptr : &text);
    DestroyWindow();
}

BEGIN_MESSAGE_MAP(CCellCombo, CComboBox)
    ON_WM_CREATE()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()


int CCellCombo::OnCreate(LPCREATESTRUCTA)
{
    if (!CreateInListFont())
        return -1;
    AddString("");
    for (int genre = 0; genre < GENRE_COUNT; ++genre) {
        AddString(GenreTable[genre]);
        m_genreIndex[GenreTable[genre]] = genre;
    }
    // A prefix search for "" selects nothing under Wine: a genre without a name gets the empty entry.
    if (m_cell.Original().empty())
        SetCurSel(FindStringExact(-1, ""));
    else
        SelectString(-1, m_cell.Original());
    SetFocus();
    return 0;
}

void CCellCombo::OnKillFocus(HWND)
{
    Default();
    EndEdit();
}

void CCellCombo::EndEdit()
{
    if (!m_cell.Ending())
        return;
    const int selected = GetCurSel();
    if (selected != CB_ERR) {
        const std::string name = GetLBText(selected);
        const auto found = m_genreIndex.find(name);
        if (found != m_genreIndex.end() && name != m_cell.Original())
            m_cell.Report(IDC_CELLCOMBO, &name, found->second);
    }
    DestroyWindow();
}

// A closed picker lets the wheel scroll the list (which ends the edit) instead of changing
// the choice under the user's hand.
void CCellCombo::OnMouseWheel(UINT keys, short delta, POINT point)
{
    if (GetDroppedState())
        Default();
    else
        ::SendMessageA(GetParent(), WM_MOUSEWHEEL, MAKEWPARAM(keys, delta), MAKELPARAM(point.x, point.y));
}
