#include "SlotEdit.h"

#include "framework/Clipboard.h"
#include "framework/WideText.h"

namespace {

// The lengths in bytes of text's first 1, 2, ... characters.
std::vector<size_t> CharacterEnds(const std::string& text)
{
    std::vector<size_t> ends;
    const std::wstring wide = Widen(text);
    for (size_t i = 1; i <= wide.size(); ++i) {
        if (i < wide.size() && wide[i] >= 0xDC00 && wide[i] <= 0xDFFF)
            continue; // inside a surrogate pair
        ends.push_back(Narrow(wide.substr(0, i)).size());
    }
    return ends;
}

} // namespace

BEGIN_MESSAGE_MAP(CSlotEdit, CEdit)
    ON_WM_CHAR()
    ON_MESSAGE(WM_PASTE, OnPaste)
END_MESSAGE_MAP()

std::string CSlotEdit::WithSelectionReplaced(const std::string& insert) const
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring text = Widen(GetWindowText());
    start = std::min<DWORD>(start, static_cast<DWORD>(text.size()));
    end = std::min<DWORD>(std::max(start, end), static_cast<DWORD>(text.size()));
    return Narrow(text.substr(0, start)) + insert + Narrow(text.substr(end));
}

void CSlotEdit::OnChar(UINT ch, UINT, UINT)
{
    if (!m_fits || ch < 0x20) {
        Default();
        return;
    }
    const std::string before = GetWindowText();
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    Default();
    if (m_fits(GetWindowText()))
        return;
    SetWindowText(before);
    SendMessage(EM_SETSEL, start, end);
    MessageBeep(MB_OK);
}

LRESULT CSlotEdit::OnPaste(WPARAM, LPARAM)
{
    if (!m_fits)
        return Default();
    const std::string pasted = GetClipboardText(m_hWnd);
    size_t fitting = 0;
    for (size_t end : CharacterEnds(pasted)) {
        if (!m_fits(WithSelectionReplaced(pasted.substr(0, end))))
            break;
        fitting = end;
    }
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.substr(0, fitting).c_str()));
    return 0;
}
