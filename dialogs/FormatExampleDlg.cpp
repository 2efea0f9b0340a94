#include "FormatExampleDlg.h"

#include "app/resource.h"

BEGIN_MESSAGE_MAP(CFormatExampleDlg, CDialog)
    ON_CONTROL(EN_CHANGE, IDC_FORMAT_TEXT, OnFormatChanged)
END_MESSAGE_MAP()

BOOL CFormatExampleDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    OnFormatChanged();
    return result;
}

void CFormatExampleDlg::OnFormatChanged()
{
    ::SetDlgItemTextA(m_hWnd, IDC_FORMAT_EXAMPLE, ExampleText(GetDlgItemText(IDC_FORMAT_TEXT)).c_str());
}
