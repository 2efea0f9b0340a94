#pragma once
#include <functional>
#include <string>
#include <vector>

class CMp3File;

// The tag fields a file name can be built from, in the order of their words.
enum TagField {
    TF_TITLE = 0,
    TF_ARTIST = 1,
    TF_ALBUM = 2,
    TF_GENRE = 3,
    TF_YEAR = 4,
    TF_TRACK = 5,
    TF_COMMENT = 6,
    TF_NONE = 7
};

// The field a bracketed word names: white space around it and ASCII letter case do not count.
// TF_NONE when it names none.
TagField FieldOfWord(const std::string& word);

// At most this many bracketed words in one format.
constexpr int FORMAT_SLOTS = 7;

// Why a format cannot be used.
enum class FormatProblem { NONE, EMPTY, UNCLOSED_BRACKET, NO_FIELD, TOO_MANY_WORDS };

// A file name format such as "[artist] - [title].mp3": literal text with bracketed tag words.
// Compiling turns it into a pattern and a field per placeholder; building fills the
// placeholders from one file's tag.
class CNameFormat
{
public:
    explicit CNameFormat(const std::string& format = std::string());
    virtual ~CNameFormat() = default;

    // Compiles m_strFormat. The format is usable exactly when m_strPattern is not empty
    // afterwards: it needs at least one recognised word, closed brackets and at most
    // FORMAT_SLOTS words.
    void CompileFormat();
    bool IsValid() const { return !m_strPattern.empty(); }
    // Why the last compile left the format unusable; NONE when it is usable.
    FormatProblem Problem() const { return m_eProblem; }
    // Bracketed words of the compiled format that name no field (they give nothing).
    const std::vector<std::string>& UnknownWords() const { return m_unknownWords; }

    // The text of one field of a file, unchanged; empty for TF_NONE and unknown values.
    std::string GetFieldText(TagField field, const CMp3File& file) const;
    // The name for a file, or empty when the format is invalid or every slot's field is
    // empty. No extension is added and the name is not checked against file-system rules.
    std::string BuildFileName(const CMp3File& file) const;
    // The same with each text field's bytes made text by toText first (the tag's code page is
    // not the file system's).
    using FieldToText = std::function<std::string(const std::string& bytes)>;
    std::string BuildFileName(const CMp3File& file, const FieldToText& toText) const;

    // The placeholder byte in m_strPattern; every other byte is literal text.
    static constexpr char PLACEHOLDER = '\0';

protected:
    std::string m_strFormat;                 // as typed
    std::string m_strPattern;                // compiled; empty when invalid
    TagField m_fieldOrder[FORMAT_SLOTS];     // field of the k-th placeholder
    FormatProblem m_eProblem = FormatProblem::EMPTY;
    std::vector<std::string> m_unknownWords;
};
