#include "NameFormatDlg.h"

#include "app/resource.h"
#include "framework/MessageBox.h"
#include "framework/Profile.h"
#include "framework/ResString.h"

const char* const FORMAT_SECTION = "Options";
const char* const FORMAT_ENTRY = "RenameFormat";
const char* const DEFAULT_FORMAT = "[title]-[artist].mp3";

// A stored format that does not compile stays in force as it is: renaming skips every file
// until the user enters a valid one.
CNameFormatDlg::CNameFormatDlg(CWnd* parent)
    : CFormatExampleDlg(IDD_FORMAT, parent),
      CNameFormat(GetProfileString(FORMAT_SECTION, FORMAT_ENTRY, DEFAULT_FORMAT))
{
    CompileFormat();
}

std::string CNameFormatDlg::ExampleText(const std::string& text) const
{
    CNameFormat format(text);
    format.CompileFormat();
    switch (format.Problem()) {
    case FormatProblem::EMPTY: return LoadResString(IDS_FORMAT_EMPTY);
    case FormatProblem::UNCLOSED_BRACKET: return LoadResString(IDS_FORMAT_UNCLOSED);
    case FormatProblem::NO_FIELD: return LoadResString(IDS_FORMAT_NO_FIELD);
    case FormatProblem::TOO_MANY_WORDS: return LoadResString(IDS_FORMAT_TOO_MANY);
    case FormatProblem::NONE: break;
    }
    std::string example = FormatResString(IDS_FORMAT_EXAMPLE, m_exampleName ? m_exampleName(format).c_str() : "");
    if (!format.UnknownWords().empty())
        example += "\n" + FormatResString(IDS_FORMAT_UNKNOWN_WORD, format.UnknownWords().front().c_str());
    return example;
}

void CNameFormatDlg::SetFormat(const std::string& format)
{
    m_strFormat = format;
    CompileFormat();
}

void CNameFormatDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_FORMAT_TEXT, m_strFormat);
}

void CNameFormatDlg::OnOK()
{
    UpdateData(TRUE);
    CompileFormat();
    if (IsValid() && !WriteProfileString(FORMAT_SECTION, FORMAT_ENTRY, m_strFormat))
        AppMessageBox(IDS_FORMAT_NOT_SAVED, MB_OK | MB_ICONEXCLAMATION);
    CDialog::OnOK();
}

bool RunFormatCommand(CNameFormatDlg& dlg)
{
    const std::string before = dlg.GetFormat();
    bool refused = false;
    for (;;) {
        if (dlg.DoModal() != IDOK) {
            // The refused text went into force with OK; giving up brings the earlier one back.
            if (refused)
                dlg.SetFormat(before);
            return false;
        }
        if (dlg.IsValid())
            return true;
        refused = true;
        AppMessageBox(IDS_FORMAT_INVALID, MB_OK | MB_ICONSTOP);
    }
}
