// Reads arbitrary bytes as an ID3v2 tag from a buffer of exactly their size, so
// AddressSanitizer stops any read outside it. Every field read must be well-formed UTF-8
// without outer white space, and bytes after the tag's end must not change what is read.
// Then a tag is made here from chosen texts, version, encodings, unsynchronisation, extended
// header, extra frame bytes and padding; reading it must give the texts back, trimmed.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "model/GenreTable.h"
#include "model/Id3v2Tag.h"

namespace {

using Text32 = std::u32string;

Id3v2Fields ReadExactly(const uint8_t* data, size_t size)
{
    std::unique_ptr<unsigned char[]> copy(new unsigned char[size]);
    if (size > 0)
        std::memcpy(copy.get(), data, size);
    return ReadId3v2(copy.get(), size);
}

std::string Utf8(const Text32& text)
{
    static const unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
    std::string out;
    for (char32_t c : text) {
        const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += static_cast<char>(lead[extra] | (c >> (6 * extra)));
        for (int i = extra - 1; i >= 0; --i)
            out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
    }
    return out;
}

// Well-formed UTF-8 with no zero byte: shortest forms, no surrogates, nothing past U+10FFFF.
bool IsCleanUtf8(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t extra =
            lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 9;
        if (lead == 0 || extra == 9 || text.size() - i <= extra)
            return false;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return false;
        i += extra + 1;
    }
    return true;
}

bool IsTrimmed(const std::string& text)
{
    return text.empty() || (!ref::IsSpace(text.front()) && !ref::IsSpace(text.back()));
}

void CheckText(const Id3v2Text& field)
{
    FUZZ_CHECK(field.has != field.text.empty());
    FUZZ_CHECK(IsCleanUtf8(field.text));
    FUZZ_CHECK(IsTrimmed(field.text));
}

void CheckShape(const Id3v2Fields& f)
{
    for (const Id3v2Text* field : {&f.title, &f.artist, &f.album, &f.year, &f.comment})
        CheckText(*field);
    size_t yearCharacters = 0;
    for (char c : f.year.text)
        yearCharacters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    FUZZ_CHECK(yearCharacters <= 4);
    FUZZ_CHECK(f.hasTrack ? f.track >= 1 && f.track <= 255 : f.track == 0);
    FUZZ_CHECK(f.hasGenre ? f.genre >= 0 && f.genre < GENRE_COUNT : f.genre == GENRE_NONE);
}

bool SameText(const Id3v2Text& a, const Id3v2Text& b)
{
    return a.has == b.has && a.text == b.text;
}

bool SameFields(const Id3v2Fields& a, const Id3v2Fields& b)
{
    return a.version == b.version && SameText(a.title, b.title) && SameText(a.artist, b.artist) &&
           SameText(a.album, b.album) && SameText(a.year, b.year) &&
           SameText(a.comment, b.comment) && a.hasTrack == b.hasTrack && a.track == b.track &&
           a.hasGenre == b.hasGenre && a.genre == b.genre;
}

// --- The encoder ---

bool IsSpace32(char32_t c)
{
    return c < 0x80 && ref::IsSpace(static_cast<char>(c));
}

Text32 Trim(const Text32& text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && IsSpace32(text[begin]))
        ++begin;
    while (end > begin && IsSpace32(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// Up to `length` characters: mostly white space and ASCII, some beyond; never a zero, never a
// surrogate, within ISO-8859-1 when `latin1`.
Text32 SomeText(FuzzedDataProvider& in, bool latin1, size_t length)
{
    Text32 text;
    for (size_t n = in.ConsumeIntegralInRange<size_t>(0, length); n > 0; --n) {
        char32_t c;
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0: c = " \t\n\v\f\r"[in.ConsumeIntegralInRange(0, 5)]; break;
        case 1: c = in.ConsumeIntegralInRange<char32_t>(0x20, 0x7E); break;
        case 2: c = in.ConsumeIntegralInRange<char32_t>(1, 0xFF); break;
        default: c = in.ConsumeIntegralInRange<char32_t>(1, 0x10FFFF); break;
        }
        if (latin1 && c > 0xFF)
            c = (c & 0xFF) ? (c & 0xFF) : 'x';
        if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        text += c;
    }
    return text;
}

void PutUnit(std::string& out, unsigned unit, bool bigEndian)
{
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

// The text in one of the four encodings; UTF-16 with a byte order mark in either order.
std::string Encode(const Text32& text, int encoding, bool bigEndianMark)
{
    if (encoding == 0) {
        std::string out;
        for (char32_t c : text)
            out += static_cast<char>(c);
        return out;
    }
    if (encoding == 3)
        return Utf8(text);
    const bool bigEndian = encoding == 2 || bigEndianMark;
    std::string out;
    if (encoding == 1)
        PutUnit(out, 0xFEFF, bigEndian);
    for (char32_t c : text) {
        if (c < 0x10000) {
            PutUnit(out, c, bigEndian);
        } else {
            PutUnit(out, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
            PutUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
        }
    }
    return out;
}

// Inserts a zero byte after each 0xFF that comes before a zero byte, a byte from 0xE0 or the end.
std::string Unsynchronise(const std::string& in)
{
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        out += in[i];
        const unsigned char next = i + 1 < in.size() ? static_cast<unsigned char>(in[i + 1]) : 0;
        if (static_cast<unsigned char>(in[i]) == 0xFF && (next == 0 || next >= 0xE0))
            out += '\0';
    }
    return out;
}

std::string BigEndian(unsigned long value, int bytes, int bitsPerByte)
{
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>((value >> (bitsPerByte * i)) & ((1u << bitsPerByte) - 1));
    return out;
}

struct Maker
{
    FuzzedDataProvider& in;
    int version;
    int unsync; // 0 none; 1 whole tag (2.4: the header's flag); 2 some 2.4 frames
    std::string frames;

    // Adds a frame, with a grouping byte and a data length in front when the fuzzer says so.
    void Frame(const char* id22, const char* id, const std::string& content)
    {
        if (version == 2) {
            frames += id22 + BigEndian(content.size(), 3, 8) + content;
            return;
        }
        unsigned flags = 0;
        std::string extra;
        if (in.ConsumeBool()) {
            flags |= version == 3 ? 0x0020 : 0x0040;
            extra += static_cast<char>(in.ConsumeIntegral<uint8_t>());
        }
        std::string data = content;
        if (version == 4) {
            if (in.ConsumeBool()) {
                flags |= 0x0001;
                extra += BigEndian(content.size(), 4, 7);
            }
            const bool frameUnsync = unsync == 1 || (unsync == 2 && in.ConsumeBool());
            if (frameUnsync)
                data = Unsynchronise(content);
            if (unsync == 2 && frameUnsync)
                flags |= 0x0002;
        }
        data = extra + data;
        frames += id + BigEndian(data.size(), 4, version == 4 ? 7 : 8);
        frames += static_cast<char>(flags >> 8);
        frames += static_cast<char>(flags & 0xFF);
        frames += data;
    }

    // A text frame from chosen text; gives the text it should read back as.
    Text32 TextFrame(const char* id22, const char* id)
    {
        const int encoding = in.ConsumeIntegralInRange(0, 3);
        const Text32 text = SomeText(in, encoding == 0, 24);
        Frame(id22, id, static_cast<char>(encoding) + Encode(text, encoding, in.ConsumeBool()));
        return Trim(text);
    }

    Text32 CommentFrame()
    {
        const int encoding = in.ConsumeIntegralInRange(0, 3);
        const bool bigEndian = in.ConsumeBool();
        const Text32 description = SomeText(in, encoding == 0, 8);
        const Text32 text = SomeText(in, encoding == 0, 24);
        const std::string zero(encoding == 1 || encoding == 2 ? 2 : 1, '\0');
        Frame("COM", "COMM", static_cast<char>(encoding) + std::string("eng") +
                                 Encode(description, encoding, bigEndian) + zero +
                                 Encode(text, encoding, bigEndian));
        return Trim(text);
    }
};

void CheckRead(const Id3v2Text& field, bool made, const Text32& expected)
{
    const std::string text = made ? Utf8(expected) : std::string();
    FUZZ_CHECK(field.has == !text.empty());
    FUZZ_CHECK(field.text == text);
}

void CheckMadeTag(FuzzedDataProvider& in)
{
    Maker m{in, in.ConsumeIntegralInRange(2, 4), in.ConsumeIntegralInRange(0, 2), {}};
    if (m.version < 4 && m.unsync == 2)
        m.unsync = 1;
    const bool extended = m.version > 2 && in.ConsumeBool();
    bool made[5] = {};
    Text32 expected[5];
    const char* const ids22[] = {"TT2", "TP1", "TAL", "TYE", "COM"};
    const char* const ids[] = {"TIT2", "TPE1", "TALB", "TYER", "COMM"};
    for (int i = 0; i < 5; ++i) {
        if (!(made[i] = in.ConsumeBool()))
            continue;
        if (i == 4) {
            expected[i] = m.CommentFrame();
        } else {
            const bool date = i == 3 && m.version > 2 && in.ConsumeBool();
            expected[i] = m.TextFrame(ids22[i], date ? "TDRC" : ids[i]);
        }
    }
    expected[3] = Trim(expected[3].substr(0, 4)); // the year's first four characters

    const int track = in.ConsumeIntegralInRange(-1, 300); // -1: no frame
    if (track >= 0)
        m.Frame("TRK", "TRCK", '\0' + std::to_string(track) + (in.ConsumeBool() ? "/300" : ""));
    const int genre = in.ConsumeIntegralInRange(-1, 200);
    if (genre >= 0) {
        // "(17)", "17", or with a name: "Rock" or "(17)Rock", its letters in any case.
        const int form = in.ConsumeIntegralInRange(0, 2);
        std::string value = form == 1 ? std::to_string(genre) : "(" + std::to_string(genre) + ")";
        if (form == 2 && genre < GENRE_COUNT) {
            if (in.ConsumeBool())
                value.clear();
            for (char c : std::string(GenreTable[genre]))
                value += in.ConsumeBool() && c >= 'a' && c <= 'z' ? c - 32 : c;
        }
        m.Frame("TCO", "TCON", '\0' + value);
    }

    std::string body = m.frames + std::string(in.ConsumeIntegralInRange(0, 16), '\0');
    if (extended)
        body = (m.version == 3 ? std::string("\0\0\0\x06\0\0\0\0\0\0", 10)
                               : std::string("\0\0\0\x06\x01\0", 6)) + body;
    if (m.version < 4 && m.unsync == 1)
        body = Unsynchronise(body);
    const unsigned char flags = (m.unsync == 1 ? 0x80 : 0) | (extended ? 0x40 : 0);
    const std::string tag = "ID3" + std::string(1, static_cast<char>(m.version)) + '\0' +
                            static_cast<char>(flags) + BigEndian(body.size(), 4, 7) + body +
                            in.ConsumeRemainingBytesAsString(); // bytes after the tag

    const Id3v2Fields f = ReadExactly(reinterpret_cast<const uint8_t*>(tag.data()), tag.size());
    FUZZ_CHECK(f.version == m.version);
    CheckRead(f.title, made[0], expected[0]);
    CheckRead(f.artist, made[1], expected[1]);
    CheckRead(f.album, made[2], expected[2]);
    CheckRead(f.year, made[3], expected[3]);
    CheckRead(f.comment, made[4], expected[4]);
    FUZZ_CHECK(f.hasTrack == (track >= 1 && track <= 255));
    FUZZ_CHECK(f.track == (f.hasTrack ? track : 0));
    FUZZ_CHECK(f.hasGenre == (genre >= 0 && genre < GENRE_COUNT));
    FUZZ_CHECK(f.genre == (f.hasGenre ? genre : GENRE_NONE));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return -1;
    const Id3v2Fields f = ReadExactly(data, size);
    CheckShape(f);
    Id3v2Header header;
    if (ParseId3v2Header(data, size, &header)) {
        FUZZ_CHECK(f.version == header.version);
        const size_t end = ID3V2_HEADER_SIZE + header.size;
        if (end <= size)
            FUZZ_CHECK(SameFields(ReadExactly(data, end), f));
    } else {
        FUZZ_CHECK(f.version == 0);
    }

    FuzzedDataProvider in(data, size);
    CheckMadeTag(in);
    return 0;
}
