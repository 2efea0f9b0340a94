#pragma once
#include <cstddef>
#include <string>

// Tag text between the program's text (the process code page: UTF-8 where the system honours
// the program's manifest) and an ID3v1 slot's bytes in the tag code page. A character the tag
// code page cannot hold becomes one "?" (never a look-alike letter); a text too long for its
// slot is cut before the first character that does not fit whole.
class CTagText
{
public:
    explicit CTagText(unsigned codePage = SystemCodePage());

    // What the bytes of a field say, as the program's text.
    std::string ToText(const std::string& bytes) const;
    // The same as UTF-16, for comparing.
    std::wstring ToWide(const std::string& bytes) const;
    // Bytes for a slot of slotBytes from the program's text or from UTF-8; *replaced tells
    // whether a character had to become "?", *cut whether the text was cut.
    std::string FromText(const std::string& text, size_t slotBytes, bool* replaced = nullptr,
                         bool* cut = nullptr) const;
    std::string FromUtf8(const std::string& text, size_t slotBytes, bool* replaced = nullptr,
                         bool* cut = nullptr) const;
    // Whether the text fits a slot of slotBytes whole.
    bool Fits(const std::string& text, size_t slotBytes) const;

    unsigned CodePage() const { return m_codePage; }
    // The system's ANSI code page, whatever the process's own is.
    static unsigned SystemCodePage();

private:
    std::string FromWide(const std::wstring& text, size_t slotBytes, bool* replaced, bool* cut) const;

    unsigned m_codePage;
};

// How many bytes each text field's slot holds (TagField numbers); the comment's depends on the
// track.
size_t SlotBytes(int field, int track);
