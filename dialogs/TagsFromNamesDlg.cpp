#include "TagsFromNamesDlg.h"

#include "app/resource.h"
#include "framework/MessageBox.h"
#include "framework/Profile.h"
#include "framework/ResString.h"
#include "model/GenreTable.h"

namespace {

const char* const SECTION = "Options";
const char* const ENTRY = "TagsFromNamesFormat";
const char* const DEFAULT_FORMAT = "[artist] - [title]";

// "Artist: Anna Berg; Title: Northern Lights"
std::string FieldsRead(const NameFields& fields)
{
    std::string text;
    const auto add = [&text](const char* name, bool has, const std::string& value) {
        if (has)
            text += (text.empty() ? "" : "; ") + std::string(name) + ": " + value;
    };
    add("Title", fields.title.has, fields.title.text);
    add("Artist", fields.artist.has, fields.artist.text);
    add("Album", fields.album.has, fields.album.text);
    add("Year", fields.year.has, fields.year.text);
    add("Track", fields.track.has, std::to_string(fields.track.value));
    add("Genre", fields.genre.has, GetGenreName(fields.genre.value));
    add("Comment", fields.comment.has, fields.comment.text);
    return text;
}

} // namespace

std::string NameReadProblemText(NameReadError error)
{
    switch (error) {
    case NameReadError::NONE: return std::string();
    case NameReadError::EMPTY: return LoadResString(IDS_FORMAT_EMPTY);
    case NameReadError::UNCLOSED_BRACKET: return LoadResString(IDS_FORMAT_UNCLOSED);
    case NameReadError::TOO_MANY_FIELDS: return LoadResString(IDS_FORMAT_TOO_MANY);
    case NameReadError::NO_FIELD: return LoadResString(IDS_FORMAT_NO_FIELD);
    case NameReadError::UNKNOWN_WORD: return LoadResString(IDS_READ_UNKNOWN_WORD);
    case NameReadError::REPEATED_FIELD: return LoadResString(IDS_READ_REPEATED_FIELD);
    case NameReadError::ADJACENT_FIELDS: return LoadResString(IDS_READ_ADJACENT_FIELDS);
    case NameReadError::EMPTY_PART: return LoadResString(IDS_READ_EMPTY_PART);
    }
    return std::string();
}

CTagsFromNamesDlg::CTagsFromNamesDlg(std::string examplePath, CWnd* parent)
    : CFormatExampleDlg(IDD_TAGS_FROM_NAMES, parent), m_strFormat(GetProfileString(SECTION, ENTRY, DEFAULT_FORMAT)),
      m_strExamplePath(std::move(examplePath))
{
}

void CTagsFromNamesDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_FORMAT_TEXT, m_strFormat);
}

std::string CTagsFromNamesDlg::ExampleText(const std::string& format) const
{
    const CNameReader reader(format);
    if (reader.Error() != NameReadError::NONE)
        return NameReadProblemText(reader.Error());
    if (m_strExamplePath.empty())
        return std::string();
    NameFields fields;
    if (!reader.Read(m_strExamplePath, &fields))
        return LoadResString(IDS_READ_NO_MATCH);
    return FieldsRead(fields);
}

void CTagsFromNamesDlg::OnOK()
{
    UpdateData(TRUE);
    const NameReadError error = CNameReader(m_strFormat).Error();
    if (error != NameReadError::NONE) {
        ShowMessageBox(NameReadProblemText(error), MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    WriteProfileString(SECTION, ENTRY, m_strFormat);
    CDialog::OnOK();
}
