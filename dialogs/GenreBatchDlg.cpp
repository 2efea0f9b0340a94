#include "GenreBatchDlg.h"

#include "app/resource.h"
#include "model/GenreTable.h"

namespace {
const char* const NoGenre = "<none>";
}

CGenreBatchDlg::CGenreBatchDlg(CWnd* parent) : CDialog(IDD_BATCH_GENRE, parent)
{
}

void CGenreBatchDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_BATCH_GENRE, m_combo);
    DDX_CBIndex(dx, IDC_BATCH_GENRE, m_nSel);
    if (!dx->m_bSaveAndValidate)
        return;
    // Each reading stands on its own: "<none>" or no selection gives -1.
    m_nChosenGenre = -1;
    if (m_nSel != -1) {
        const auto found = m_genreByName.find(m_combo.GetLBText(m_nSel));
        if (found != m_genreByName.end())
            m_nChosenGenre = found->second;
    }
}

BOOL CGenreBatchDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_combo.AddString(NoGenre);
    for (int genre = 0; genre < GENRE_COUNT; ++genre) {
        m_combo.AddString(GenreTable[genre]);
        m_genreByName[GenreTable[genre]] = genre;
    }
    m_combo.SelectString(-1, NoGenre);
    return TRUE; // the focus goes to the list
}
