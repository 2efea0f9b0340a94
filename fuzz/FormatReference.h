#pragma once
// A second, plain compiler for file-name formats and a name builder on top of it, to compare
// with CNameFormat; and a subclass that opens CNameFormat's compiled state.
#include <array>
#include <string>

#include "FuzzSupport.h"
#include "model/GenreTable.h"
#include "model/Mp3File.h"
#include "rename/NameFormat.h"

namespace ref {

struct CompiledFormat
{
    bool valid = false;
    std::string pattern; // PLACEHOLDER for each bracketed word
    std::array<TagField, FORMAT_SLOTS> fields{TF_NONE, TF_NONE, TF_NONE, TF_NONE,
                                             TF_NONE, TF_NONE, TF_NONE};
};

inline TagField FieldOfWord(std::string word)
{
    while (!word.empty() && IsSpace(word.back()))
        word.pop_back();
    size_t lead = 0;
    while (lead < word.size() && IsSpace(word[lead]))
        ++lead;
    word.erase(0, lead);
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    }
    const char* const words[] = {"title", "artist", "album", "genre", "year", "track", "comment"};
    for (int i = 0; i < 7; ++i) {
        if (word == words[i])
            return static_cast<TagField>(i);
    }
    return TF_NONE;
}

// Valid exactly when the format is not empty, holds no zero byte, every '[' has a later ']',
// there are at most FORMAT_SLOTS bracketed words and at least one of them is a tag word.
inline CompiledFormat Compile(const std::string& format)
{
    CompiledFormat invalid;
    if (format.empty() || format.find('\0') != std::string::npos)
        return invalid;
    CompiledFormat out;
    size_t words = 0;
    bool recognised = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '[') {
            out.pattern += format[i];
            continue;
        }
        const size_t close = format.find(']', i);
        if (close == std::string::npos || words == FORMAT_SLOTS)
            return invalid;
        const TagField field = FieldOfWord(format.substr(i + 1, close - i - 1));
        recognised = recognised || field != TF_NONE;
        out.fields[words++] = field;
        out.pattern += CNameFormat::PLACEHOLDER;
        i = close;
    }
    if (!recognised)
        return invalid;
    out.valid = true;
    return out;
}

// A number as decimal digits, a minus sign before a negative one, no leading zeros.
inline std::string Decimal(int number)
{
    long long rest = number < 0 ? -static_cast<long long>(number) : number;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + rest % 10));
        rest /= 10;
    } while (rest > 0);
    return number < 0 ? "-" + digits : digits;
}

// What a bracketed word stands for, as the help's table says: the tag's texts as they are,
// the track number in decimal, the genre's name from the genre table (none outside it).
inline std::string FieldText(TagField field, const CMp3File& file)
{
    const int genre = file.GetGenre();
    const std::pair<TagField, std::string> meanings[] = {
        {TF_TITLE, file.GetTitle()}, {TF_ARTIST, file.GetArtist()}, {TF_ALBUM, file.GetAlbum()},
        {TF_YEAR, file.GetYear()}, {TF_COMMENT, file.GetComment()}, {TF_TRACK, Decimal(file.GetTrack())},
        {TF_GENRE, genre >= 0 && genre < GENRE_COUNT ? GenreTable[genre] : ""},
    };
    for (const auto& [meant, text] : meanings) {
        if (meant == field)
            return text;
    }
    return ""; // a word that names no field
}

// Empty when the format is invalid or every bracketed word gives an empty text.
inline std::string BuildName(const CompiledFormat& format, const CMp3File& file)
{
    if (!format.valid)
        return "";
    bool anyText = false;
    for (TagField field : format.fields)
        anyText = anyText || !FieldText(field, file).empty();
    if (!anyText)
        return "";
    std::string name;
    size_t slot = 0;
    for (char c : format.pattern)
        name += c == CNameFormat::PLACEHOLDER ? FieldText(format.fields[slot++], file)
                                              : std::string(1, c);
    return name;
}

} // namespace ref

// CNameFormat with its compiled state readable.
class COpenNameFormat : public CNameFormat
{
public:
    void Compile(const std::string& format)
    {
        m_strFormat = format;
        CompileFormat();
    }
    const std::string& Pattern() const { return m_strPattern; }
    std::array<TagField, FORMAT_SLOTS> Fields() const
    {
        std::array<TagField, FORMAT_SLOTS> fields;
        for (int i = 0; i < FORMAT_SLOTS; ++i)
            fields[i] = m_fieldOrder[i];
        return fields;
    }
};
