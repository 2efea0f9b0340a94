#include "TagEncodingDlg.h"

#include "app/resource.h"
#include "framework/Profile.h"
#include "model/TagText.h"

namespace {

const char* const SECTION = "Options";
const char* const ENTRY = "TagCodePage";

struct CodePageName
{
    unsigned codePage;
    const char* name;
};

const CodePageName CodePages[] = {
    {874, "874 Thai (Windows)"},
    {932, "932 Japanese (Shift-JIS)"},
    {936, "936 Chinese Simplified (GBK)"},
    {949, "949 Korean"},
    {950, "950 Chinese Traditional (Big5)"},
    {1250, "1250 Central European (Windows)"},
    {1251, "1251 Cyrillic (Windows)"},
    {1252, "1252 Western European (Windows)"},
    {1253, "1253 Greek (Windows)"},
    {1254, "1254 Turkish (Windows)"},
    {1255, "1255 Hebrew (Windows)"},
    {1256, "1256 Arabic (Windows)"},
    {1257, "1257 Baltic (Windows)"},
    {1258, "1258 Vietnamese (Windows)"},
    {28591, "28591 Western European (ISO-8859-1)"},
    {65001, "65001 Unicode (UTF-8)"},
};

} // namespace

const std::vector<unsigned>& CTagEncodingDlg::Offered()
{
    static const std::vector<unsigned> offered = [] {
        std::vector<unsigned> pages;
        for (const CodePageName& page : CodePages)
            pages.push_back(page.codePage);
        return pages;
    }();
    return offered;
}

CTagEncodingDlg::CTagEncodingDlg(unsigned codePage, CWnd* parent)
    : CDialog(IDD_TAG_ENCODING, parent), m_nCodePage(codePage)
{
}

BOOL CTagEncodingDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const CodePageName& page : CodePages) {
        m_combo.AddString(page.name);
        if (page.codePage == m_nCodePage)
            m_combo.SetCurSel(m_combo.GetCount() - 1);
    }
    return TRUE;
}

void CTagEncodingDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_TAG_ENCODING, m_combo);
    if (!dx->m_bSaveAndValidate)
        return;
    const int chosen = m_combo.GetCurSel();
    if (chosen >= 0 && static_cast<size_t>(chosen) < Offered().size())
        m_nCodePage = Offered()[static_cast<size_t>(chosen)];
}

unsigned StoredTagCodePage()
{
    const unsigned stored = GetProfileInt(SECTION, ENTRY, 0);
    for (unsigned offered : CTagEncodingDlg::Offered()) {
        if (offered == stored)
            return stored;
    }
    return CTagText::SystemCodePage();
}

bool StoreTagCodePage(unsigned codePage)
{
    return WriteProfileInt(SECTION, ENTRY, codePage);
}
