#include "AboutBoxDlg.h"

#include "app/resource.h"

CAboutBoxDlg::CAboutBoxDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent)
{
}

// The web site's text becomes the link; it opens what the dialog shows.
void CAboutBoxDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_ABOUT_LINK, m_link);
}
