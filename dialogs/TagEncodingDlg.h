#pragma once
#include <vector>

#include "framework/Dialog.h"

// Options > Tag Text Encoding: the code page that ID3v1 text is read and written in, chosen
// from a list where each entry names its number ("1251 Cyrillic (Windows)").
class CTagEncodingDlg : public CDialog
{
public:
    explicit CTagEncodingDlg(unsigned codePage, CWnd* parent = nullptr);

    unsigned CodePage() const { return m_nCodePage; }
    BOOL OnInitDialog() override;

    // The code pages offered, in the list's order.
    static const std::vector<unsigned>& Offered();

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    CComboBox m_combo;
    unsigned m_nCodePage;
};

// The tag code page in force: the stored one, else the system's ANSI code page.
unsigned StoredTagCodePage();
bool StoreTagCodePage(unsigned codePage);
