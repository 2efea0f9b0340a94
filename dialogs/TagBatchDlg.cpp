#include "TagBatchDlg.h"

#include "app/resource.h"
#include "framework/ResString.h"

std::string BatchFieldName(int commandId)
{
    switch (commandId) {
    case ID_BATCH_ARTIST: return "Artist";
    case ID_BATCH_ALBUM: return "Album";
    case ID_BATCH_YEAR: return "Year";
    case ID_BATCH_TRACK: return "Track Number";
    case ID_BATCH_COMMENT: return "Comment";
    case ID_BATCH_TITLE: return "Title";
    default: return std::string();
    }
}

CTagBatchDlg::CTagBatchDlg(int commandId, CSlotEdit::FitsRule fits, CWnd* parent) : CDialog(IDD_BATCH_TAG, parent)
{
    m_value.SetFitsRule(std::move(fits));
    const std::string field = BatchFieldName(commandId);
    m_strPrompt = FormatResString(IDS_BATCH_PROMPT, field.c_str());
    m_strCaption = "Batch-Edit Tag - " + field;
}

void CTagBatchDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_BATCH_PROMPT, m_strPrompt);
    DDX_Control(dx, IDC_BATCH_VALUE, m_value);
    DDX_Text(dx, IDC_BATCH_VALUE, m_strValue);
}

BOOL CTagBatchDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strCaption);
    ::SetFocus(GetDlgItem(IDC_BATCH_VALUE));
    return FALSE; // the focus stays in the edit box
}
