#include "Dialog.h"

#include <cstring>
#include <vector>

#include "WinApp.h"

namespace {

std::string WholeWindowText(HWND hwnd)
{
    const int length = ::GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hwnd, text.data(), length + 1);
    return std::string(text.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

bool IsEditBox(HWND hwnd)
{
    char name[16] = "";
    ::GetClassNameA(hwnd, name, sizeof name);
    return ::lstrcmpiA(name, "Edit") == 0;
}

// The system's dialog loop offers each message to the thread's message filter (MSGF_DIALOGBOX)
// before the dialog's own keyboard handling. While a modal dialog runs, the filter gives it to the
// windows it is for, up to their top-level window, as the application's loop does outside dialogs:
// that is how a tooltip in a dialog sees the mouse. One filter serves nested dialogs.
HHOOK s_modalFilter = nullptr;
int s_modalDepth = 0;

LRESULT CALLBACK ModalMessageFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
            CWnd* wnd = CWnd::FromHandle(hwnd);
            if (wnd && wnd->PreTranslateMessage(msg))
                return TRUE;
            if (!(::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
                break; // not on to the owner: the main window's keys stay off while a dialog runs
        }
    }
    return ::CallNextHookEx(s_modalFilter, code, wParam, lParam);
}

class CModalFilterScope
{
public:
    CModalFilterScope()
    {
        if (s_modalDepth++ == 0)
            s_modalFilter = ::SetWindowsHookExA(WH_MSGFILTER, &ModalMessageFilter, nullptr, ::GetCurrentThreadId());
    }
    ~CModalFilterScope()
    {
        if (--s_modalDepth == 0 && s_modalFilter) {
            ::UnhookWindowsHookEx(s_modalFilter);
            s_modalFilter = nullptr;
        }
    }
    CModalFilterScope(const CModalFilterScope&) = delete;
    CModalFilterScope& operator=(const CModalFilterScope&) = delete;
};

} // namespace

HWND CDataExchange::PrepareCtrl(int id) const
{
    return m_pDlgWnd->GetDlgItem(id);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT idTemplate, CWnd* parent) : m_nIDTemplate(idTemplate), m_pParentWnd(parent)
{
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd)
        return -1; // already open
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && GetApp() && GetApp()->m_pMainWnd)
        owner = GetApp()->m_pMainWnd->m_hWnd;
    if (owner)
        owner = ::GetAncestor(owner, GA_ROOT);

    // The system makes the dialog window; the object is bound to it at its first message.
    CModalFilterScope filter;
    return CreateBoundWindow(this, [&]() {
        return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                                 &DialogProc, 0);
    });
}

void CDialog::EndDialog(int result)
{
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate != FALSE);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

// Every message reaches the object through its message table first; the dialog procedure has
// nothing left to do.
INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassWindow(dx->PrepareCtrl(id));
}

void DDX_Text(CDataExchange* dx, int id, std::string& value)
{
    const HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = WholeWindowText(control);
        return;
    }
    if (IsEditBox(control))
        ::SendMessageA(control, EM_LIMITTEXT, 0, 0); // 0: the largest limit
    ::SetWindowTextA(control, value.c_str());
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    const HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

