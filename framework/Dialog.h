#pragma once
#include <windows.h>

#include <string>

#include "Controls.h"
#include "Wnd.h"

class CDialog;

// One run of a dialog's data exchange: from the members to the controls, or back.
class CDataExchange
{
public:
    CDataExchange(CDialog* dlg, bool saveAndValidate) : m_pDlgWnd(dlg), m_bSaveAndValidate(saveAndValidate) {}

    // The dialog item with this id, or null.
    HWND PrepareCtrl(int id) const;

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate; // true: controls to members
};

// A modal dialog made from a dialog template of the program's resources. The object is bound to
// its window like every window, from the window's first message; the same object may run any
// number of times, one at a time.
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT idTemplate, CWnd* parent = nullptr);

    // Shows the dialog and runs its modal loop; returns IDOK, IDCANCEL (or what EndDialog was
    // given), or -1 when the dialog could not be made. A dialog without a parent is owned by the
    // application's main window, which is disabled while the dialog is open. The loop offers each
    // message to PreTranslateMessage of the windows it is for, up to the dialog.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // Runs the data exchange: controls to members when saving, members to controls otherwise.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

    // Fills the controls from the members; true lets the dialog put the focus on its first
    // tab stop, false keeps the focus where the handler put it.
    virtual BOOL OnInitDialog();
    // OK reads the controls back and closes with IDOK; Cancel closes with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

protected:
    virtual void DoDataExchange(CDataExchange* dx);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    LRESULT HandleInitDialog(WPARAM, LPARAM);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// Binds a control of the dialog to its object (first exchange only), which then takes the
// control's messages.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// The whole text of a control. Loading an edit box also lifts its typing limit, so any text
// the exchange gives back can be typed whole.
void DDX_Text(CDataExchange* dx, int id, std::string& value);
// The selected entry of a combo box; -1 for none.
void DDX_CBIndex(CDataExchange* dx, int id, int& index);

