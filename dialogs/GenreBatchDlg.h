#pragma once
#include <map>
#include <string>

#include "framework/Dialog.h"

// Asks for the genre that Batch-Edit Genre sets on every selected row, from a sorted drop-down
// list of the genre names headed by "<none>". After OK, GetChosenGenre gives the genre number,
// or -1 for "<none>".
class CGenreBatchDlg : public CDialog
{
public:
    explicit CGenreBatchDlg(CWnd* parent = nullptr);

    int GetChosenGenre() const { return m_nChosenGenre; }

    BOOL OnInitDialog() override;

    CComboBox m_combo;
    int m_nSel = -1;          // selected entry in the list's (sorted) order; -1 none
    int m_nChosenGenre = -1;  // genre number; -1 none
    // Genre name (exact letters) to its number: the list's sorted order is not the numbers' order.
    std::map<std::string, int> m_genreByName;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};
