#pragma once
#include "controls/LinkStatic.h"
#include "framework/Dialog.h"

// Help > About: the program's icon, name and version, its web site as a link, and OK.
class CAboutBoxDlg : public CDialog
{
public:
    explicit CAboutBoxDlg(CWnd* parent = nullptr);

    CLinkStatic m_link;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};
