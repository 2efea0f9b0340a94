#include "NameFormat.h"

#include "model/GenreTable.h"
#include "model/Id3v1Tag.h"
#include "model/Mp3File.h"

namespace {

const char* const TagWords[FORMAT_SLOTS] = {
    "title", "artist", "album", "genre", "year", "track", "comment",
};

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(const std::string& text, const char* word)
{
    size_t i = 0;
    for (; i < text.size() && word[i] != '\0'; ++i) {
        if (AsciiLower(text[i]) != word[i])
            return false;
    }
    return i == text.size() && word[i] == '\0';
}

std::string TrimCSpace(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsCSpace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && IsCSpace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

TagField FieldOfWord(const std::string& word)
{
    const std::string core = TrimCSpace(word);
    for (int i = 0; i < FORMAT_SLOTS; ++i) {
        if (EqualsIgnoringAsciiCase(core, TagWords[i]))
            return static_cast<TagField>(i);
    }
    return TF_NONE;
}

CNameFormat::CNameFormat(const std::string& format) : m_strFormat(format)
{
    for (TagField& field : m_fieldOrder)
        field = TF_NONE;
}

void CNameFormat::CompileFormat()
{
    m_strPattern.clear();
    m_unknownWords.clear();
    for (TagField& field : m_fieldOrder)
        field = TF_NONE;
    m_eProblem = m_strFormat.empty() ? FormatProblem::EMPTY : FormatProblem::NO_FIELD;
    // A zero byte would read as a placeholder; typed text never holds one.
    if (m_strFormat.empty() || m_strFormat.find(PLACEHOLDER) != std::string::npos)
        return;

    std::string pattern;
    TagField order[FORMAT_SLOTS] = {TF_NONE, TF_NONE, TF_NONE, TF_NONE,
                                    TF_NONE, TF_NONE, TF_NONE};
    int slot = 0;
    int recognised = 0;
    size_t pos = 0;
    while (pos < m_strFormat.size()) {
        if (m_strFormat[pos] != '[') {
            pattern += m_strFormat[pos++];
            continue;
        }
        const size_t close = m_strFormat.find(']', pos);
        if (close == std::string::npos || slot == FORMAT_SLOTS) {
            m_eProblem = close == std::string::npos ? FormatProblem::UNCLOSED_BRACKET : FormatProblem::TOO_MANY_WORDS;
            m_unknownWords.clear();
            return;
        }
        const std::string word = m_strFormat.substr(pos + 1, close - pos - 1);
        const TagField field = FieldOfWord(word);
        if (field != TF_NONE)
            ++recognised;
        else
            m_unknownWords.push_back(word);
        order[slot++] = field;
        pattern += PLACEHOLDER;
        pos = close + 1;
    }
    if (recognised == 0) {
        m_unknownWords.clear();
        return;
    }

    m_eProblem = FormatProblem::NONE;
    m_strPattern = pattern;
    for (int i = 0; i < FORMAT_SLOTS; ++i)
        m_fieldOrder[i] = order[i];
}

std::string CNameFormat::GetFieldText(TagField field, const CMp3File& file) const
{
    switch (field) {
    case TF_TITLE: return file.GetTitle();
    case TF_ARTIST: return file.GetArtist();
    case TF_ALBUM: return file.GetAlbum();
    case TF_GENRE: return GetGenreName(file.GetGenre());
    case TF_YEAR: return file.GetYear();
    case TF_TRACK: return std::to_string(file.GetTrack());
    case TF_COMMENT: return file.GetComment();
    default: return std::string();
    }
}

std::string CNameFormat::BuildFileName(const CMp3File& file) const
{
    return BuildFileName(file, [](const std::string& bytes) { return bytes; });
}

std::string CNameFormat::BuildFileName(const CMp3File& file, const FieldToText& toText) const
{
    std::string texts[FORMAT_SLOTS];
    int filled = 0;
    for (int i = 0; i < FORMAT_SLOTS; ++i) {
        const TagField field = m_fieldOrder[i];
        texts[i] = GetFieldText(field, file);
        if (field != TF_GENRE && field != TF_TRACK)
            texts[i] = toText(texts[i]);
        if (!texts[i].empty())
            ++filled;
    }
    if (filled == 0)
        return std::string();

    std::string name;
    int slot = 0;
    for (char c : m_strPattern) {
        if (c != PLACEHOLDER)
            name += c;
        else if (slot < FORMAT_SLOTS)
            name += texts[slot++];
    }
    return name;
}
