#include "TagText.h"

#include <windows.h>

#include <cstdlib>

#include "framework/WideText.h"
#include "rename/NameFormat.h"

namespace {

// The code point starting at text[i] of UTF-16 text: one unit, or a surrogate pair.
int CodePointLength(const std::wstring& text, size_t i)
{
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    return pair ? 2 : 1;
}

bool IsAscii(const std::string& text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

CTagText::CTagText(unsigned codePage) : m_codePage(codePage) {}

unsigned CTagText::SystemCodePage()
{
    char number[8] = "";
    GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number);
    const unsigned codePage = static_cast<unsigned>(std::atoi(number));
    return codePage ? codePage : 1252;
}

std::string CTagText::ToText(const std::string& bytes) const
{
    // ASCII reads the same in every code page offered; most tags are.
    if (m_codePage == GetACP() || IsAscii(bytes))
        return bytes;
    return Narrow(Widen(bytes, m_codePage), CP_ACP);
}

std::wstring CTagText::ToWide(const std::string& bytes) const
{
    return Widen(bytes, m_codePage);
}

std::string CTagText::FromText(const std::string& text, size_t slotBytes, bool* replaced, bool* cut) const
{
    // ASCII is the same bytes in every code page offered; most typed text is.
    if (IsAscii(text)) {
        if (replaced)
            *replaced = false;
        if (cut)
            *cut = text.size() > slotBytes;
        return text.substr(0, slotBytes);
    }
    return FromWide(Widen(text, CP_ACP), slotBytes, replaced, cut);
}

std::string CTagText::FromUtf8(const std::string& text, size_t slotBytes, bool* replaced, bool* cut) const
{
    return FromWide(Widen(text, CP_UTF8), slotBytes, replaced, cut);
}

bool CTagText::Fits(const std::string& text, size_t slotBytes) const
{
    bool cut = false;
    FromText(text, slotBytes, nullptr, &cut);
    return !cut;
}

// One code point at a time, so a character that cannot be held is one "?", and a cut never
// splits a character.
std::string CTagText::FromWide(const std::wstring& text, size_t slotBytes, bool* replaced, bool* cut) const
{
    const bool utf8 = m_codePage == CP_UTF8;
    std::string bytes;
    bool lost = false;
    bool full = false;
    for (size_t i = 0; i < text.size();) {
        const int units = CodePointLength(text, i);
        char one[8];
        BOOL unmappable = FALSE;
        int length = WideCharToMultiByte(m_codePage, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text.data() + i, units, one,
                                         sizeof one, utf8 ? nullptr : "?", utf8 ? nullptr : &unmappable);
        if (length <= 0 || unmappable) {
            one[0] = '?';
            length = 1;
            lost = true;
        }
        if (bytes.size() + static_cast<size_t>(length) > slotBytes) {
            full = true;
            break;
        }
        bytes.append(one, static_cast<size_t>(length));
        i += static_cast<size_t>(units);
    }
    if (replaced)
        *replaced = lost;
    if (cut)
        *cut = full;
    return bytes;
}

size_t SlotBytes(int field, int track)
{
    switch (field) {
    case TF_YEAR: return 4;
    case TF_COMMENT: return track > 0 ? 28 : 30;
    default: return 30;
    }
}
