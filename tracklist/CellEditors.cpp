#include "CellEditors.h"

#include "app/resource.h"
#include "model/GenreTable.h"

namespace {

HFONT ListFont(HWND list)
{
    return reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0));
}

// Sends LVN_ENDLABELEDIT in the list's name to the list's parent, which hands it back to the
// list. The record and its text live for the duration of the call only.
void NotifyEndEdit(HWND list, UINT editorId, LVITEMA item)
{
    NMLVDISPINFOA info{};
    info.hdr.hwndFrom = list;
    info.hdr.idFrom = editorId;
    info.hdr.code = LVN_ENDLABELEDITA;
    info.item = item;
    ::SendMessageA(::GetParent(list), WM_NOTIFY, static_cast<WPARAM>(::GetDlgCtrlID(list)),
                   reinterpret_cast<LPARAM>(&info));
}

} // namespace

BEGIN_MESSAGE_MAP(CCellEdit, CEdit)
    ON_WM_CREATE()
    ON_WM_KILLFOCUS()
    ON_WM_CHAR()
END_MESSAGE_MAP()

CCellEdit::CCellEdit(ICellEditorOwner& owner, int row, int column, const std::string& text)
    : m_owner(owner), m_nRow(row), m_nColumn(column), m_strOriginal(text)
{
}

CCellEdit::~CCellEdit()
{
    m_owner.EditorGone(this);
}

int CCellEdit::OnCreate(LPCREATESTRUCTA)
{
    if (Default() == -1)
        return -1;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ListFont(GetParent())), TRUE);
    SetWindowText(m_strOriginal);
    SetFocus();
    SetSel(0, -1);
    SendMessage(EM_SCROLLCARET);
    return 0;
}

// Keys that would otherwise become accelerators of the main window go to the edit box:
// Enter, Delete, Escape, Insert, and every key while Ctrl is down.
BOOL CCellEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN || msg->hwnd != m_hWnd)
        return FALSE;
    const WPARAM key = msg->wParam;
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
        Default();
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
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
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
    if (m_bEnded)
        return;
    m_bEnded = true;
    const std::string text = GetWindowText();
    if (text != m_strOriginal) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = m_nRow;
        item.iSubItem = m_nColumn;
        item.pszText = m_bCancelled ? nullptr : const_cast<char*>(text.c_str());
        item.cchTextMax = static_cast<int>(text.size());
        NotifyEndEdit(GetParent(), IDC_CELLEDIT, item);
    }
    DestroyWindow();
}

BEGIN_MESSAGE_MAP(CCellCombo, CComboBox)
    ON_WM_CREATE()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CCellCombo::CCellCombo(ICellEditorOwner& owner, int row, int column, const std::string& genreName)
    : m_owner(owner), m_nRow(row), m_nColumn(column), m_strOriginal(genreName)
{
}

CCellCombo::~CCellCombo()
{
    m_owner.EditorGone(this);
}

int CCellCombo::OnCreate(LPCREATESTRUCTA)
{
    if (Default() == -1)
        return -1;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ListFont(GetParent())), TRUE);
    AddString("");
    for (int genre = 0; genre < GENRE_COUNT; ++genre) {
        AddString(GenreTable[genre]);
        m_genreIndex[GenreTable[genre]] = genre;
    }
    // A prefix search for "" selects nothing under Wine: a genre without a name gets the empty entry.
    if (m_strOriginal.empty())
        SetCurSel(FindStringExact(-1, ""));
    else
        SelectString(-1, m_strOriginal);
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
    if (m_bEnded)
        return;
    m_bEnded = true;
    const int selected = GetCurSel();
    if (selected != CB_ERR) {
        const std::string name = GetLBText(selected);
        const auto found = m_genreIndex.find(name);
        if (found != m_genreIndex.end() && name != m_strOriginal) {
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = m_nRow;
            item.iSubItem = m_nColumn;
            item.pszText = const_cast<char*>(name.c_str());
            item.cchTextMax = static_cast<int>(name.size());
            item.lParam = found->second;
            NotifyEndEdit(GetParent(), IDC_CELLCOMBO, item);
        }
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
