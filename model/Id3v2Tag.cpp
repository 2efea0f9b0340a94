#include "Id3v2Tag.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "GenreTable.h"
#include "Id3v1Tag.h"
#include "TrackNumber.h"

namespace {

// A run of bytes; every read checks `size` first.
struct Bytes
{
    const unsigned char* data;
    size_t size;
};

constexpr unsigned char TAG_UNSYNC = 0x80;
constexpr unsigned char TAG_EXTENDED = 0x40; // in 2.2: the tag is compressed

constexpr unsigned FRAME23_COMPRESSED = 0x0080, FRAME23_ENCRYPTED = 0x0040,
                   FRAME23_GROUPED = 0x0020;
constexpr unsigned FRAME24_GROUPED = 0x0040, FRAME24_COMPRESSED = 0x0008,
                   FRAME24_ENCRYPTED = 0x0004, FRAME24_UNSYNC = 0x0002,
                   FRAME24_DATA_LENGTH = 0x0001;

enum Encoding { ENC_LATIN1 = 0, ENC_UTF16 = 1, ENC_UTF16BE = 2, ENC_UTF8 = 3 };

enum Field { TITLE, ARTIST, ALBUM, YEAR, DATE, TRACK, GENRE, COMMENT, OTHER };

struct FrameId
{
    const char* id;
    Field field;
};

const FrameId FRAMES_22[] = {
    {"TT2", TITLE}, {"TP1", ARTIST}, {"TAL", ALBUM}, {"TYE", YEAR},
    {"TRK", TRACK}, {"TCO", GENRE},  {"COM", COMMENT},
};
const FrameId FRAMES_23[] = {
    {"TIT2", TITLE}, {"TPE1", ARTIST}, {"TALB", ALBUM}, {"TYER", YEAR},
    {"TDRC", DATE},  {"TRCK", TRACK},  {"TCON", GENRE}, {"COMM", COMMENT},
};

unsigned long BigEndian(const unsigned char* p, size_t count)
{
    unsigned long value = 0;
    for (size_t i = 0; i < count; ++i)
        value = (value << 8) | p[i];
    return value;
}

// Four bytes of seven bits each; false when a byte has its top bit set.
bool ReadSynchsafe(const unsigned char* p, unsigned long* value)
{
    unsigned long v = 0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] & 0x80)
            return false;
        v = (v << 7) | p[i];
    }
    *value = v;
    return true;
}

// Undoes unsynchronisation: the writer put a zero byte after each 0xFF that needed one.
std::vector<unsigned char> Resynchronise(Bytes in)
{
    std::vector<unsigned char> out;
    out.reserve(in.size);
    for (size_t i = 0; i < in.size; ++i) {
        out.push_back(in.data[i]);
        if (in.data[i] == 0xFF && i + 1 < in.size && in.data[i + 1] == 0)
            ++i;
    }
    return out;
}

void AppendUtf8(std::string& out, unsigned long cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    int extra = cp < 0x800 ? 1 : (cp < 0x10000 ? 2 : 3);
    static const unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(lead[extra] | (cp >> (6 * extra)));
    while (extra-- > 0)
        out += static_cast<char>(0x80 | ((cp >> (6 * extra)) & 0x3F));
}

// The UTF-8 character at `at`, moving past it. A broken sequence gives U+FFFD for its first
// byte only, so the reading resumes at the next byte.
unsigned long NextUtf8(Bytes in, size_t& at)
{
    const unsigned char lead = in.data[at++];
    if (lead < 0x80)
        return lead;
    size_t extra;
    unsigned long cp, least;
    if (lead >= 0xC2 && lead < 0xE0)
        extra = 1, cp = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead < 0xF0)
        extra = 2, cp = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead < 0xF5)
        extra = 3, cp = lead & 0x07, least = 0x10000;
    else
        return 0xFFFD;
    if (in.size - at < extra)
        return 0xFFFD;
    for (size_t i = 0; i < extra; ++i) {
        if ((in.data[at + i] & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (in.data[at + i] & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
        return 0xFFFD; // too long a form, a surrogate, or beyond Unicode
    at += extra;
    return cp;
}

unsigned long Unit16(const unsigned char* p, bool bigEndian)
{
    return bigEndian ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]);
}

// The next character of a text in its encoding, moving `at` past it; false at the end
// (a last odd byte of UTF-16 is no character).
bool NextCodePoint(int encoding, Bytes in, size_t& at, bool bigEndian, unsigned long* cp)
{
    if (encoding == ENC_LATIN1 || encoding == ENC_UTF8) {
        if (at >= in.size)
            return false;
        *cp = encoding == ENC_LATIN1 ? in.data[at++] : NextUtf8(in, at);
        return true;
    }
    if (in.size - at < 2)
        return false;
    const unsigned long unit = Unit16(in.data + at, bigEndian);
    at += 2;
    if (unit >= 0xD800 && unit < 0xDC00 && in.size - at >= 2) {
        const unsigned long low = Unit16(in.data + at, bigEndian);
        if (low >= 0xDC00 && low < 0xE000) {
            at += 2;
            *cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            return true;
        }
    }
    *cp = unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit;
    return true;
}

std::string Trim(const std::string& text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && IsCSpace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && IsCSpace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

// Hands each value of a text, trimmed, empty ones left out, to `take` until it returns true.
// With `several` (2.4) zero characters separate values; otherwise the first one ends the
// text. In UTF-16 each value may start with a byte order mark; without one the order stays
// as it was, at first little-endian, the order most writers use.
template <typename Take>
void ForEachValue(int encoding, Bytes in, bool several, Take take)
{
    std::string value;
    bool bigEndian = encoding == ENC_UTF16BE;
    bool valueStart = true;
    size_t at = 0;
    for (;;) {
        if (encoding == ENC_UTF16 && valueStart && in.size - at >= 2) {
            const unsigned long mark = Unit16(in.data + at, true);
            if (mark == 0xFEFF || mark == 0xFFFE) {
                bigEndian = mark == 0xFEFF;
                at += 2;
            }
        }
        valueStart = false;
        unsigned long cp = 0;
        const bool more = NextCodePoint(encoding, in, at, bigEndian, &cp);
        if (more && cp != 0) {
            AppendUtf8(value, cp);
            continue;
        }
        const std::string trimmed = Trim(value);
        if (!trimmed.empty() && take(trimmed))
            return;
        if (!more || !several)
            return;
        value.clear();
        valueStart = true;
    }
}

// The values of a text, joined by "/".
std::string JoinedText(int encoding, Bytes in, bool several)
{
    std::string text;
    ForEachValue(encoding, in, several, [&text](const std::string& value) {
        text += text.empty() ? value : "/" + value;
        return false;
    });
    return text;
}

// The first `count` characters of UTF-8 text.
std::string FirstCharacters(const std::string& text, size_t count)
{
    size_t end = 0;
    for (size_t n = 0; n < count && end < text.size(); ++n)
        do
            ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80);
    return Trim(text.substr(0, end));
}

// A genre given by its number (one to three digits) or its table name; -1 otherwise, which
// covers the "RX" (remix) and "CR" (cover) refinements.
int GenreOfWord(const std::string& word)
{
    if (!word.empty() && word.size() <= 3 &&
        std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int number = std::stoi(word);
        return number < GENRE_COUNT ? number : -1;
    }
    return FindGenre(word);
}

// One genre value: "(17)", "(4)(17)", "(17)Rock", "17" or "Rock". The first part that names a
// genre wins. A leading "((" stands for a text that begins with "(", which names no genre.
int GenreOfValue(const std::string& value)
{
    size_t at = 0;
    while (at + 1 < value.size() && value[at] == '(' && value[at + 1] != '(') {
        const size_t close = value.find(')', at);
        if (close == std::string::npos)
            break;
        const int genre = GenreOfWord(value.substr(at + 1, close - at - 1));
        if (genre >= 0)
            return genre;
        at = close + 1;
    }
    return GenreOfWord(Trim(value.substr(at)));
}

// Where the text after a comment's zero-ended description starts; npos without a zero.
size_t AfterDescription(int encoding, Bytes in)
{
    const size_t unit = encoding == ENC_UTF16 || encoding == ENC_UTF16BE ? 2 : 1;
    for (size_t at = 0; in.size - at >= unit; at += unit)
        if (in.data[at] == 0 && (unit == 1 || in.data[at + 1] == 0))
            return at + unit;
    return std::string::npos;
}

struct Reader
{
    int version;
    Id3v2Fields fields;
    Id3v2Text date;             // the year from TDRC, used when no TYER gives one
    bool plainComment = false;  // the comment came from a frame without a description
};

void Keep(Id3v2Text& slot, std::string text)
{
    if (!slot.has && !text.empty())
        slot = {true, std::move(text)};
}

Field FieldOf(int version, const unsigned char* id)
{
    if (version == 2) {
        for (const FrameId& f : FRAMES_22)
            if (std::memcmp(id, f.id, 3) == 0)
                return f.field;
    } else {
        for (const FrameId& f : FRAMES_23)
            if (std::memcmp(id, f.id, 4) == 0)
                return f.field;
    }
    return OTHER;
}

void ReadComment(Reader& r, int encoding, Bytes data)
{
    if (r.plainComment || data.size < 3)
        return;
    const Bytes rest{data.data + 3, data.size - 3}; // after the language code
    const size_t after = AfterDescription(encoding, rest);
    if (after == std::string::npos)
        return;
    std::string text = JoinedText(encoding, {rest.data + after, rest.size - after}, false);
    if (text.empty())
        return;
    const bool plain = JoinedText(encoding, {rest.data, after}, false).empty();
    if (plain || !r.fields.comment.has) {
        r.fields.comment = {true, std::move(text)};
        r.plainComment = plain;
    }
}

// Reads one frame's data, already freed of flags' extra bytes and unsynchronisation. A frame
// without an encoding byte or with an unknown encoding gives nothing.
void ReadFrameData(Reader& r, Field field, Bytes data)
{
    if (data.size == 0 || data.data[0] > ENC_UTF8)
        return;
    const int encoding = data.data[0];
    const Bytes text{data.data + 1, data.size - 1};
    const bool several = r.version == 4;
    Id3v2Fields& f = r.fields;
    switch (field) {
    case TITLE: Keep(f.title, JoinedText(encoding, text, several)); break;
    case ARTIST: Keep(f.artist, JoinedText(encoding, text, several)); break;
    case ALBUM: Keep(f.album, JoinedText(encoding, text, several)); break;
    case YEAR: Keep(f.year, FirstCharacters(JoinedText(encoding, text, several), 4)); break;
    case DATE: Keep(r.date, FirstCharacters(JoinedText(encoding, text, several), 4)); break;
    case TRACK:
        if (!f.hasTrack) {
            // The number before any "/": "3/12" is track 3 of 12.
            const int track = ParseTrackNumber(JoinedText(encoding, text, several));
            f.hasTrack = track >= 1 && track <= 255;
            f.track = f.hasTrack ? track : 0;
        }
        break;
    case GENRE:
        if (!f.hasGenre)
            ForEachValue(encoding, text, several, [&f](const std::string& value) {
                const int genre = GenreOfValue(value);
                if (genre >= 0)
                    f.hasGenre = true, f.genre = genre;
                return f.hasGenre;
            });
        break;
    case COMMENT: ReadComment(r, encoding, text); break;
    case OTHER: break;
    }
}

// Steps over the extra bytes the frame's flags announce and undoes its unsynchronisation.
// Compressed and encrypted frames give nothing: there is nothing here to unpack them.
void ReadFrame(Reader& r, unsigned char tagFlags, Field field, unsigned flags, Bytes data)
{
    size_t skip = 0;
    if (r.version == 3) {
        if (flags & (FRAME23_COMPRESSED | FRAME23_ENCRYPTED))
            return;
        skip = (flags & FRAME23_GROUPED) ? 1 : 0;
    } else if (r.version == 4) {
        if (flags & (FRAME24_COMPRESSED | FRAME24_ENCRYPTED))
            return;
        skip = ((flags & FRAME24_GROUPED) ? 1 : 0) + ((flags & FRAME24_DATA_LENGTH) ? 4 : 0);
    }
    if (data.size < skip)
        return;
    data = {data.data + skip, data.size - skip};
    if (r.version == 4 && ((flags & FRAME24_UNSYNC) || (tagFlags & TAG_UNSYNC))) {
        const std::vector<unsigned char> plain = Resynchronise(data);
        ReadFrameData(r, field, {plain.data(), plain.size()});
    } else {
        ReadFrameData(r, field, data);
    }
}

// Reads frames until a frame id that is not A-Z and 0-9 (the zero bytes of the padding among
// them) or a frame that runs past the tag's end.
void ReadFrames(Reader& r, unsigned char tagFlags, Bytes body)
{
    const size_t idSize = r.version == 2 ? 3 : 4;
    const size_t headerSize = r.version == 2 ? 6 : 10;
    for (size_t at = 0; body.size - at >= headerSize;) {
        const unsigned char* h = body.data + at;
        for (size_t i = 0; i < idSize; ++i)
            if (!((h[i] >= 'A' && h[i] <= 'Z') || (h[i] >= '0' && h[i] <= '9')))
                return;
        unsigned long size = BigEndian(h + idSize, idSize);
        if (r.version == 4 && !ReadSynchsafe(h + 4, &size))
            return;
        at += headerSize;
        if (size > body.size - at)
            return;
        const auto flags = static_cast<unsigned>(r.version == 2 ? 0 : BigEndian(h + 8, 2));
        const Field field = FieldOf(r.version, h);
        if (field != OTHER)
            ReadFrame(r, tagFlags, field, flags, {body.data + at, size});
        at += size;
    }
}

// Moves the body past an extended header; false when its size does not fit the body.
// In 2.3 the size leaves out its own four bytes; in 2.4 it is synchsafe and counts them.
bool SkipExtendedHeader(int version, Bytes& body)
{
    if (body.size < 4)
        return false;
    unsigned long size = 0;
    if (version == 3) {
        size = BigEndian(body.data, 4);
        if (size > body.size - 4)
            return false;
        size += 4;
    } else if (!ReadSynchsafe(body.data, &size) || size < 6 || size > body.size) {
        return false;
    }
    body = {body.data + size, body.size - size};
    return true;
}

} // namespace

bool ParseId3v2Header(const unsigned char* bytes, size_t length, Id3v2Header* header)
{
    if (length < ID3V2_HEADER_SIZE || std::memcmp(bytes, "ID3", 3) != 0)
        return false;
    if (bytes[3] < 2 || bytes[3] > 4 || bytes[4] == 0xFF)
        return false;
    unsigned long size = 0;
    if (!ReadSynchsafe(bytes + 6, &size))
        return false;
    header->version = bytes[3];
    header->flags = bytes[5];
    header->size = size;
    return true;
}

Id3v2Fields ReadId3v2(const unsigned char* tag, size_t length)
{
    Id3v2Header header;
    if (!ParseId3v2Header(tag, length, &header))
        return Id3v2Fields();
    Reader r;
    r.version = header.version;
    r.fields.version = header.version;
    // A 2.2 tag's compression has no defined scheme: its frames cannot be read.
    if (header.version == 2 && (header.flags & TAG_EXTENDED))
        return r.fields;

    Bytes body{tag + ID3V2_HEADER_SIZE,
               std::min<size_t>(length - ID3V2_HEADER_SIZE, header.size)};
    std::vector<unsigned char> plain;
    if (header.version < 4 && (header.flags & TAG_UNSYNC)) {
        // Before 2.4 unsynchronisation covers the whole tag, the frame headers too.
        plain = Resynchronise(body);
        body = {plain.data(), plain.size()};
    }
    if (header.version >= 3 && (header.flags & TAG_EXTENDED) &&
        !SkipExtendedHeader(header.version, body))
        return r.fields;
    ReadFrames(r, header.flags, body);
    if (!r.fields.year.has)
        r.fields.year = r.date;
    return r.fields;
}

std::string DescribeId3v2(const Id3v2Fields& fields)
{
    if (fields.version == 0)
        return std::string();
    std::string text = "ID3v2." + std::to_string(fields.version) + " tag";
    const std::pair<bool, const char*> parts[] = {
        {fields.title.has, "Title"}, {fields.artist.has, "Artist"}, {fields.album.has, "Album"},
        {fields.year.has, "Year"},   {fields.hasTrack, "Track"},    {fields.hasGenre, "Genre"},
        {fields.comment.has, "Comment"},
    };
    const char* separator = " with ";
    for (const auto& [has, name] : parts) {
        if (has) {
            text += separator;
            text += name;
            separator = ", ";
        }
    }
    return text;
}
