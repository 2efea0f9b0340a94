#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "model/Id3v2Tag.h"

namespace {

// A literal with its zero characters.
template <typename C, size_t N>
std::basic_string<C> B(const C (&s)[N])
{
    return std::basic_string<C>(s, N - 1);
}

std::string Utf8(char32_t c)
{
    const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    std::string out(1, char((unsigned char)"\0\xC0\xE0\xF0"[extra] | c >> 6 * extra));
    for (int i = extra - 1; i >= 0; --i)
        out += char(0x80 | (c >> 6 * i & 0x3F));
    return out;
}

// A text frame's data: the encoding byte, then the text (encoding 1 little-endian with a mark).
std::string Text(int enc, const std::u32string& text)
{
    std::string out(1, char(enc));
    if (enc == 1)
        out += "\xFF\xFE";
    auto unit = [&](unsigned u) {
        out += enc == 1 ? std::string{char(u), char(u >> 8)} : std::string{char(u >> 8), char(u)};
    };
    for (char32_t c : text) {
        if (enc == 0)
            out += char(c);
        else if (enc == 3)
            out += Utf8(c);
        else if (c < 0x10000)
            unit(c);
        else
            unit(0xD800 + ((c - 0x10000) >> 10)), unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
    return out;
}

std::string Size(unsigned long n, bool synchsafe, int bytes = 4)
{
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += char(synchsafe ? (n >> (7 * i)) & 0x7F : (n >> (8 * i)) & 0xFF);
    return out;
}

std::string Frame(int v, const std::string& id, const std::string& data, unsigned flags = 0)
{
    if (v == 2)
        return id + Size(data.size(), false, 3) + data;
    return id + Size(data.size(), v == 4) + char(flags >> 8) + char(flags) + data;
}

std::string Tag(int v, const std::string& body, unsigned char flags = 0)
{
    return std::string("ID3") + char(v) + '\0' + char(flags) + Size(body.size(), true) + body;
}

Id3v2Fields Read(const std::string& tag)
{
    const std::vector<unsigned char> bytes(tag.begin(), tag.end()); // exactly sized
    return ReadId3v2(bytes.data(), bytes.size());
}

// The fields present, as "title=...;year=...;".
std::string Summary(const Id3v2Fields& f)
{
    const std::tuple<const char*, bool, std::string> parts[] = {
        {"title", f.title.has, f.title.text}, {"artist", f.artist.has, f.artist.text},
        {"album", f.album.has, f.album.text}, {"year", f.year.has, f.year.text},
        {"track", f.hasTrack, std::to_string(f.track)}, {"genre", f.hasGenre, std::to_string(f.genre)},
        {"comment", f.comment.has, f.comment.text}};
    std::string s;
    for (const auto& [key, has, value] : parts)
        s += has ? std::string(key) + "=" + value + ";" : "";
    return s;
}

// A 2.3 text frame in ISO-8859-1.
std::string T3(const char* id, const std::string& text)
{
    return Frame(3, id, '\0' + text);
}

// A 2.3 comment; in UTF-16 the text after the description has a byte order mark of its own.
std::string Comm(int enc, const std::u32string& desc, const std::u32string& text)
{
    return Frame(3, "COMM", Text(enc, desc + U'\0' + (enc == 1 ? U"\uFEFF" : U"") + text).insert(1, "eng"));
}

} // namespace

TEST(Id3v2Header, AcceptsOnlyWellFormedHeaders)
{
    const struct { std::string bytes; size_t length; bool ok; } cases[] = {
        {B("ID3\x04\xFE\xD0\x7F\x7F\x7F\x7F"), 10, true}, {B("ID3\x02\0\0\0\0\0\0"), 10, true},
        {B("ID3\x05\0\0\0\0\0\0"), 10, false}, {B("ID3\x01\0\0\0\0\0\0"), 10, false},
        {B("ID3\x03\xFF\0\0\0\0\0"), 10, false}, {B("ID3\x03\0\0\0\0\x80\0"), 10, false},
        {B("id3\x03\0\0\0\0\0\0"), 10, false}, {B("ID3\x03\0\0\0\0\0\0"), 9, false},
    };
    Id3v2Header h;
    for (const auto& c : cases)
        EXPECT_EQ(ParseId3v2Header((const unsigned char*)c.bytes.data(), c.length, &h), c.ok) << c.bytes;
    ASSERT_TRUE(ParseId3v2Header((const unsigned char*)"ID3\x03\x01\x80\x00\x00\x02\x01", 10, &h));
    EXPECT_EQ(std::make_tuple(h.version, int(h.flags), h.size), std::make_tuple(3, 0x80, 257ul));
}

TEST(Id3v2Read, EveryVersionReadsEveryEncoding)
{
    const char* const ids[] = {"TT2", "TIT2", "TIT2"};
    for (int v = 2; v <= 4; ++v)
        for (int enc = 0; enc <= 3; ++enc) {
            const std::u32string text = enc == 0 ? U" Caf\u00E9\u00FF\t" : U" Caf\u00E9 \U0001F3B5\n";
            const Id3v2Fields f = Read(Tag(v, Frame(v, ids[v - 2], Text(enc, text))));
            EXPECT_EQ(f.version, v);
            EXPECT_EQ(f.title.text, enc ? "Caf\xC3\xA9 \xF0\x9F\x8E\xB5" : "Caf\xC3\xA9\xC3\xBF") << v << enc;
        }
}

TEST(Id3v2Read, TableOfTags)
{
    const std::string title = T3("TIT2", "Song"), tit = "title=Song;", bad = "\xEF\xBF\xBD";
    const std::string ff = B("\0\xFF\0\xE0\xFF\0"), ffText = "title=\xC3\xBF\xC3\xA0\xC3\xBF;";
    const struct { const char* what; std::string tag; std::string expected; } cases[] = {
        {"2.2 frames", Tag(2, Frame(2, "TP1", Text(0, U"Band")) + Frame(2, "TAL", Text(1, U"LP")) +
                                  Frame(2, "TYE", Text(0, U"1999")) + Frame(2, "TRK", Text(0, U"7")) +
                                  Frame(2, "TCO", Text(0, U"(9)")) + Frame(2, "COM", B("\0eng\0Hi"))),
         "artist=Band;album=LP;year=1999;track=7;genre=9;comment=Hi;"},
        {"2.2 compressed tag", Tag(2, Frame(2, "TT2", Text(0, U"x")), 0x40), ""},
        {"UTF-16 big-endian mark", Tag(3, Frame(3, "TIT2", B("\x01\xFE\xFF\0A\0B"))), "title=AB;"},
        {"UTF-16 without mark", Tag(3, Frame(3, "TIT2", B("\x01" "A\0B\0"))), "title=AB;"},
        {"unpaired surrogates", Tag(3, Frame(3, "TIT2", B("\x02\xD8\0\0A\xDC\0"))),
         "title=" + bad + "A" + bad + ";"},
        {"high surrogate before U+E000", Tag(3, Frame(3, "TIT2", B("\x02\xD8\0\xE0\0"))),
         "title=" + bad + "\xEE\x80\x80;"},
        {"broken UTF-8", Tag(3, Frame(3, "TIT2", "\x03" "A\xE0\x80\x80\xC1")),
         "title=A" + bad + bad + bad + bad + ";"},
        {"zero ends 2.3 text", Tag(3, Frame(3, "TPE1", B("\0A\0B"))), "artist=A;"},
        {"2.4 values", Tag(4, Frame(4, "TPE1", Text(1, B(U"A\0 \0")) + B("\xFE\xFF\0B\0\0"))), "artist=A/B;"},
        {"2.4 first genre", Tag(4, Frame(4, "TCON", Text(0, B(U"Nope\0RX\0" U"17")))), "genre=17;"},
        {"TDRC year", Tag(4, Frame(4, "TDRC", Text(3, U"2019-05-01"))), "year=2019;"},
        {"TYER before TDRC", Tag(3, T3("TDRC", "2001") + T3("TYER", "1999")), "year=1999;"},
        {"track of tracks", Tag(3, T3("TRCK", "3/12")), "track=3;"},
        {"no track", Tag(3, T3("TRCK", "0") + T3("TRCK", "/4") + T3("TRCK", "256") + T3("TRCK", "x")), ""},
        {"plain comment", Tag(3, Comm(0, U"iTunNORM", U"x") + Comm(1, U"", U"Note") + Comm(0, U"", U"No")),
         "comment=Note;"},
        {"described comments", Tag(3, Comm(2, U"d", U" y ") + Comm(3, U"e", U"z")), "comment=y;"},
        {"first value wins", Tag(3, T3("TIT2", " \t") + title + T3("TIT2", "Other")), tit},
        {"bad frames skipped", Tag(3, Frame(3, "TIT2", "\x04x") + Frame(3, "TPE1", "") + T3("TALB", "") +
                                          T3("TPE1", "A")), "artist=A;"},
        {"2.3 tag unsynchronised", Tag(3, B("TIT2\0\0\0\x04\0\0") + ff + title, 0x80), ffText},
        {"2.4 frame unsynchronised", Tag(4, Frame(4, "TIT2", ff, 0x0002)), ffText},
        {"2.4 tag unsynchronised", Tag(4, Frame(4, "TIT2", ff), 0x80), ffText},
        {"2.3 extended header", Tag(3, B("\0\0\0\x06") + std::string(6, '\xFF') + title, 0x40), tit},
        {"2.4 extended header", Tag(4, B("\0\0\0\x06\x01\0") + Frame(4, "TIT2", B("\0S")), 0x40), "title=S;"},
        {"extended header too long", Tag(3, B("\0\0\0\x40") + title, 0x40), ""},
        {"2.3 compressed, encrypted", Tag(3, Frame(3, "TIT2", B("\0z"), 0x0080) +
                                                  Frame(3, "TIT2", B("\0e"), 0x0040) + title), tit},
        {"2.4 compressed", Tag(4, Frame(4, "TIT2", B("\0z"), 0x0009) + Frame(4, "TPE1", B("\0A"))),
         "artist=A;"},
        {"2.3 grouping", Tag(3, Frame(3, "TIT2", B("\x07\0G"), 0x0020)), "title=G;"},
        {"2.4 grouping, length", Tag(4, Frame(4, "TIT2", B("\x07\0\0\0\x02\0G"), 0x0041)), "title=G;"},
        {"header size past the end", Tag(3, title + T3("TPE1", "B") + T3("TALB", "L")).substr(0, 42),
         "title=Song;artist=B;"},
        {"frame size past the tag", Tag(3, title + T3("TPE1", "Band").substr(0, 12)), tit},
        {"padding ends frames", Tag(3, title + std::string(10, '\0') + T3("TPE1", "Band")), tit},
        {"bad id ends frames", Tag(3, title + T3("Tpe1", "Band") + T3("TALB", "LP")), tit},
        {"2.4 size not synchsafe", Tag(4, Frame(4, "TIT2", B("\0S")).replace(7, 1, "\x81") + title), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Summary(Read(c.tag)), c.expected) << c.what;
}

TEST(Id3v2Read, GenreForms)
{
    const struct { const char* value; int genre; } cases[] = {
        {"(17)", 17}, {"17", 17}, {"(17)Rock", 17}, {"Rock", 17}, {"hIP-hOP", 7}, {" (4)(17) ", 4},
        {"(RX)(9)", 9}, {"(255)Jazz", 8}, {"RX", -1}, {"(CR)", -1}, {"((Rock", -1}, {"148", -1},
        {"Punk Polka", -1}, {"(17", -1},
    };
    for (const auto& c : cases) {
        const Id3v2Fields f = Read(Tag(3, T3("TCON", c.value)));
        EXPECT_EQ(f.hasGenre ? f.genre : -1, c.genre) << c.value;
    }
}

TEST(Id3v2Describe, NamesVersionAndFieldsInOrder)
{
    EXPECT_EQ(DescribeId3v2(Read(Tag(4, ""))), "ID3v2.4 tag");
    const std::string tag = Tag(3, Comm(0, U"", U"c") + T3("TCON", "1") + T3("TRCK", "2") + T3("TYER", "3") +
                                       T3("TIT2", "t"));
    EXPECT_EQ(DescribeId3v2(Read(tag)), "ID3v2.3 tag with Title, Year, Track, Genre, Comment");
    EXPECT_EQ(DescribeId3v2(Id3v2Fields()), "");
}
