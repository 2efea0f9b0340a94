#include "NameReader.h"

#include "model/Id3v1Tag.h"
#include "model/PathText.h"

namespace {

const size_t NOT_FOUND = std::string::npos;

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && SameIgnoringCase(a.data(), b.data(), a.size());
}

bool EndsWithMp3(const std::string& text)
{
    return text.size() >= 4 && SameIgnoringCase(text.data() + text.size() - 4, ".mp3", 4);
}

// The folder names of a path, nearest last. The root, a drive "C:" or a share
// "\\server\share", names no folder; empty pieces from doubled backslashes are skipped.
std::vector<std::string> FolderNames(const std::string& path)
{
    const std::string folder = FolderOf(path);
    size_t pos = 0;
    if (folder.compare(0, 2, "\\\\") == 0) {
        pos = 2;
        for (int piece = 0; piece < 2 && pos < folder.size(); ++piece) {
            pos = folder.find('\\', pos);
            pos = pos == NOT_FOUND ? folder.size() : pos + 1;
        }
    } else if (folder.size() >= 2 && folder[1] == ':' && AsciiLower(folder[0]) >= 'a' &&
               AsciiLower(folder[0]) <= 'z') {
        pos = 2;
    }
    std::vector<std::string> names;
    while (pos < folder.size()) {
        const size_t end = folder.find('\\', pos); // found: the folder part ends with one
        if (end > pos)
            names.push_back(folder.substr(pos, end - pos));
        pos = end + 1;
    }
    return names;
}

// Matches one part of a name, as ^L0(.*?)L1(.*?)..Lk$ would with each group held to its
// field's rule, literals ignoring ASCII case. m_reach[i][p] says whether fields i.. can
// still match when field i starts at p; with it each field in turn takes its shortest text
// without backtracking, in O(fields * n^2).
class CPartMatcher
{
public:
    CPartMatcher(const std::vector<std::string>& literals, const std::vector<TagField>& fields,
                 const std::string& text)
        : m_literals(literals), m_fields(fields), m_text(text)
    {
        const size_t n = text.size();
        m_solidFrom.assign(n + 1, n);
        m_solidTo.assign(n + 1, 0);
        m_digitsTo.assign(n + 1, n);
        m_zerosTo.assign(n + 1, n);
        for (size_t q = n; q-- > 0;) {
            m_solidFrom[q] = text[q] != ' ' ? q : m_solidFrom[q + 1];
            m_digitsTo[q] = text[q] >= '0' && text[q] <= '9' ? m_digitsTo[q + 1] : q;
            m_zerosTo[q] = text[q] == '0' ? m_zerosTo[q + 1] : q;
        }
        for (size_t q = 1; q <= n; ++q)
            m_solidTo[q] = text[q - 1] != ' ' ? q : m_solidTo[q - 1];

        const size_t k = fields.size();
        m_literalAt.assign(k, std::vector<char>(n + 1, 0));
        for (size_t i = 1; i < k; ++i) {
            const std::string& literal = literals[i];
            for (size_t e = 0; e + literal.size() <= n; ++e)
                m_literalAt[i][e] =
                    SameIgnoringCase(text.data() + e, literal.data(), literal.size());
        }
        m_reach.assign(k, std::vector<char>(n + 1, 0));
        for (size_t i = k; i-- > 0;) {
            for (size_t p = 0; p <= n; ++p)
                m_reach[i][p] = FieldEnd(i, p) != NOT_FOUND;
        }
    }

    // Fills the fields of the match; false when there is none.
    bool Match(NameFields* out) const
    {
        size_t p = m_literals.front().size();
        for (size_t i = 0; i < m_fields.size(); ++i) {
            const size_t e = FieldEnd(i, p);
            if (e == NOT_FOUND)
                return false;
            Store(m_fields[i], m_solidFrom[p], m_solidTo[e], out);
            p = e + m_literals[i + 1].size();
        }
        return true;
    }

private:
    // The shortest end of field i starting at p that lets the rest match, or NOT_FOUND.
    size_t FieldEnd(size_t i, size_t p) const
    {
        if (i + 1 == m_fields.size()) {
            const size_t e = m_text.size() - m_literals.back().size();
            return e >= p && Fits(m_fields[i], p, e) ? e : NOT_FOUND;
        }
        const size_t next = m_literals[i + 1].size();
        for (size_t e = p; e + next <= m_text.size(); ++e) {
            if (m_literalAt[i + 1][e] && m_reach[i + 1][e + next] && Fits(m_fields[i], p, e))
                return e;
        }
        return NOT_FOUND;
    }

    bool Fits(TagField field, size_t p, size_t e) const
    {
        const size_t begin = m_solidFrom[p];
        const size_t end = m_solidTo[e];
        if (begin >= end)
            return false;
        if (field == TF_TRACK)
            return TrackOf(begin, end) >= 0;
        return field != TF_YEAR || end - begin <= 4;
    }

    // The number the digits [begin, end) spell when it is 0..255, else -1.
    int TrackOf(size_t begin, size_t end) const
    {
        if (m_digitsTo[begin] < end)
            return -1;
        const size_t first = m_zerosTo[begin];
        if (first >= end)
            return 0;
        if (end - first > 3)
            return -1;
        const int value = std::stoi(m_text.substr(first, end - first));
        return value <= 255 ? value : -1;
    }

    // Stores the trimmed text [begin, end) of a field that fits.
    void Store(TagField field, size_t begin, size_t end, NameFields* out) const
    {
        const std::string text = m_text.substr(begin, end - begin);
        switch (field) {
        case TF_TITLE: out->title = {true, text}; break;
        case TF_ARTIST: out->artist = {true, text}; break;
        case TF_ALBUM: out->album = {true, text}; break;
        case TF_YEAR: out->year = {true, text}; break;
        case TF_COMMENT: out->comment = {true, text}; break;
        case TF_TRACK: {
            const int track = TrackOf(begin, end);
            out->track = {track > 0, track};
            break;
        }
        case TF_GENRE: {
            const int genre = FindGenre(text);
            out->genre = {genre >= 0, genre >= 0 ? genre : GENRE_NONE};
            break;
        }
        default: break;
        }
    }

    const std::vector<std::string>& m_literals;
    const std::vector<TagField>& m_fields;
    const std::string& m_text;
    std::vector<size_t> m_solidFrom; // first non-space at or after q
    std::vector<size_t> m_solidTo;   // q moved back over spaces before it
    std::vector<size_t> m_digitsTo;  // first non-digit at or after q
    std::vector<size_t> m_zerosTo;   // first byte other than '0' at or after q
    std::vector<std::vector<char>> m_literalAt; // [i][e]: literals[i] matches at e
    std::vector<std::vector<char>> m_reach;
};

bool MatchPart(const std::vector<std::string>& literals, const std::vector<TagField>& fields,
               const std::string& text, NameFields* out)
{
    size_t literalBytes = 0;
    for (const std::string& literal : literals)
        literalBytes += literal.size();
    if (text.size() > NAME_READ_MAX_PART || literalBytes > text.size())
        return false;
    const std::string& first = literals.front();
    const std::string& last = literals.back();
    if (fields.empty())
        return EqualsIgnoringCase(text, first);
    if (!SameIgnoringCase(text.data(), first.data(), first.size()) ||
        !SameIgnoringCase(text.data() + text.size() - last.size(), last.data(), last.size()))
        return false;
    return CPartMatcher(literals, fields, text).Match(out);
}

} // namespace

CNameReader::CNameReader(const std::string& format)
{
    m_error = Compile(format);
    if (m_error != NameReadError::NONE)
        m_parts.clear();
}

NameReadError CNameReader::Compile(const std::string& typed)
{
    if (typed.empty())
        return NameReadError::EMPTY;
    std::string format = typed;
    if (EndsWithMp3(format))
        format.resize(format.size() - 4);

    m_parts.assign(1, Part{{std::string()}, {}});
    bool seen[FORMAT_SLOTS] = {};
    int words = 0;
    for (size_t pos = 0; pos < format.size(); ++pos) {
        const char c = format[pos];
        Part& part = m_parts.back();
        if (c == '\\' || c == '/') {
            if (part.fields.empty() && part.literals.front().empty())
                return NameReadError::EMPTY_PART;
            m_parts.push_back(Part{{std::string()}, {}});
            continue;
        }
        if (c != '[') {
            part.literals.back() += c;
            continue;
        }
        const size_t close = format.find(']', pos);
        if (close == std::string::npos)
            return NameReadError::UNCLOSED_BRACKET;
        if (++words > FORMAT_SLOTS)
            return NameReadError::TOO_MANY_FIELDS;
        const TagField field = FieldOfWord(format.substr(pos + 1, close - pos - 1));
        if (field == TF_NONE)
            return NameReadError::UNKNOWN_WORD;
        if (seen[field])
            return NameReadError::REPEATED_FIELD;
        if (!part.fields.empty() && part.literals.back().empty())
            return NameReadError::ADJACENT_FIELDS;
        seen[field] = true;
        part.fields.push_back(field);
        part.literals.emplace_back();
        pos = close;
    }
    if (words == 0)
        return NameReadError::NO_FIELD;
    if (m_parts.back().fields.empty() && m_parts.back().literals.front().empty())
        return NameReadError::EMPTY_PART;
    return NameReadError::NONE;
}

bool CNameReader::Read(const std::string& path, NameFields* out) const
{
    if (m_error != NameReadError::NONE || out == nullptr)
        return false;
    std::string file = NameOf(path);
    if (EndsWithMp3(file))
        file.resize(file.size() - 4);
    const std::vector<std::string> folders = FolderNames(path);
    if (folders.size() + 1 < m_parts.size())
        return false;

    NameFields fields;
    for (size_t back = 0; back < m_parts.size(); ++back) {
        const Part& part = m_parts[m_parts.size() - 1 - back];
        const std::string& text = back == 0 ? file : folders[folders.size() - back];
        if (!MatchPart(part.literals, part.fields, text, &fields))
            return false;
    }
    *out = fields;
    return true;
}
