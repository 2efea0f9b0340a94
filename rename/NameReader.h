#pragma once
#include <string>
#include <vector>

#include "model/GenreTable.h"
#include "rename/NameFormat.h"

// Reads tag fields back from a file's path by a format in the rename language, such as
// "[artist] - [title]" or "[artist]\[album]\[track]-[title]". Each backslash (or slash) moves
// one folder up: the last part of the format matches the file name without its ".mp3", the
// part before it the file's folder, and so on. Literal text matches ignoring ASCII letter
// case; each field takes the shortest text that lets the rest of its part match, loses its
// leading and trailing spaces and must not be empty then. [track] must read as 0..255,
// [year] as at most four bytes; a [genre] that names no genre is left unset.

// Why a format cannot be read.
enum class NameReadError {
    NONE,
    EMPTY,            // no text at all
    UNCLOSED_BRACKET, // a '[' without a later ']'
    TOO_MANY_FIELDS,  // more than FORMAT_SLOTS bracketed words
    UNKNOWN_WORD,     // a bracketed word that is no field name
    REPEATED_FIELD,   // one field word twice
    ADJACENT_FIELDS,  // two fields with no literal text between them
    NO_FIELD,         // no bracketed word
    EMPTY_PART,       // a separator at either end or two side by side
};

// One field read from a name; texts are bytes of the name.
struct NameText
{
    bool has = false;
    std::string text;
};

struct NameNumber
{
    bool has = false;
    int value = 0;
};

struct NameFields
{
    NameText title;
    NameText artist;
    NameText album;
    NameText year;
    NameText comment;
    NameNumber track;                   // 1..255; a track 0 reads as no track
    NameNumber genre{false, GENRE_NONE}; // an index into GenreTable
};

// A path part longer than this many bytes never matches; it bounds the matching work.
constexpr size_t NAME_READ_MAX_PART = 1024;

class CNameReader
{
public:
    // A trailing ".mp3" (any case) of the format is dropped, so a rename format reads too.
    explicit CNameReader(const std::string& format);

    NameReadError Error() const { return m_error; }

    // Reads the fields from a full Windows path; its drive "C:" or share "\\server\share"
    // names no folder. True when the name matches the format; only then is *out replaced.
    // False when the format cannot be read.
    bool Read(const std::string& path, NameFields* out) const;

private:
    // One part between separators: literals[i] comes before fields[i], and the last literal
    // after the last field, so literals.size() == fields.size() + 1.
    struct Part
    {
        std::vector<std::string> literals;
        std::vector<TagField> fields;
    };

    NameReadError Compile(const std::string& format);

    std::vector<Part> m_parts; // the file name's part last
    NameReadError m_error;
};
