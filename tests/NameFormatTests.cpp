#include <gtest/gtest.h>

#include <vector>

#include "model/Mp3File.h"
#include "rename/NameFormat.h"

// Formats by example; the fuzz targets format_compile and name_build compare any format with
// plain reference versions, recompiling on the same object too.
namespace {

// Opens the compiled state to the tests.
class CTestFormat : public CNameFormat
{
public:
    explicit CTestFormat(const std::string& format) : CNameFormat(format) { CompileFormat(); }
    const std::string& Pattern() const { return m_strPattern; }
    std::vector<TagField> Slots() const { return {m_fieldOrder, m_fieldOrder + FORMAT_SLOTS}; }
};

std::vector<TagField> SlotsOf(std::vector<TagField> head)
{
    head.resize(FORMAT_SLOTS, TF_NONE);
    return head;
}

// A literal with its zero bytes kept (all but the terminating one).
template <size_t N>
std::string Bytes(const char (&text)[N]) { return std::string(text, N - 1); }

} // namespace

// Invalid formats leave nothing compiled: an empty pattern and no fields.
TEST(NameFormatCompile, PatternHoldsPlaceholdersAndLiteralBytes)
{
    struct Case { std::string format; std::string pattern; std::vector<TagField> slots; };
    const Case cases[] = {
        {"[title]-[artist].mp3", Bytes("\0-\0.mp3"), {TF_TITLE, TF_ARTIST}},
        {"[Track] - [ title ].mp3", Bytes("\0 - \0.mp3"), {TF_TRACK, TF_TITLE}},
        {"[TiTlE][\t\n\v\f\r title\r\n]", Bytes("\0\0"), {TF_TITLE, TF_TITLE}},
        {"[year]]x", Bytes("\0]x"), {TF_YEAR}},
        {"x[name]-[album]", Bytes("x\0-\0"), {TF_NONE, TF_ALBUM}},
        {"100%[title]%s", Bytes("100%\0%s"), {TF_TITLE}},
        {"[title][artist][album][genre][year][track][comment]", std::string(7, '\0'),
         {TF_TITLE, TF_ARTIST, TF_ALBUM, TF_GENRE, TF_YEAR, TF_TRACK, TF_COMMENT}},
        {"", "", {}}, {"song.mp3", "", {}}, {"[name].mp3", "", {}}, {"[]", "", {}}, {"[title", "", {}},
        {"[title] [artist", "", {}}, {"[[title]", "", {}}, {"[title][x][x][x][x][x][x][x]", "", {}},
        {Bytes("[title]\0"), "", {}}, {"[ti tle]", "", {}}, {"[title\xA0]", "", {}}, {"[t\xC4tle]", "", {}},
    };
    for (const Case& c : cases) {
        const CTestFormat format(c.format);
        EXPECT_EQ(format.Pattern(), c.pattern) << c.format;
        EXPECT_EQ(format.Slots(), SlotsOf(c.slots)) << c.format;
        EXPECT_EQ(format.IsValid(), !c.pattern.empty()) << c.format;
    }
}

// Literals stay around empty fields; a name with no filled slot is empty; the track is plain
// decimal and the genre its name.
TEST(NameBuild, FillsSlotsFromTheTag)
{
    CMp3File file;
    const auto build = [&file](const std::string& text) { return CTestFormat(text).BuildFileName(file); };
    EXPECT_EQ(build("[title]-[artist].mp3"), "");
    file.SetTitle("T ");
    file.SetTrack(4);
    EXPECT_EQ(build("[title]-[artist].mp3"), "T -.mp3");
    for (const char* text : {"[artist]", "[album] - [year]", "[comment][x]", "", "song.mp3", "[title] [track", "[[title]"})
        EXPECT_EQ(build(text), "") << text;
    file.SetArtist("A");
    file.SetAlbum("l");
    file.SetYear("1999 ");
    file.SetComment("c");
    file.SetGenre(1);
    EXPECT_EQ(build("[artist]%[x][title][title]"), "A%T T ");
    EXPECT_EQ(build("[comment][track][year][genre][album][artist][title]"), "c41999 Classic RocklAT ");

    for (const auto& c : {std::make_pair(0, "0"), {7, "7"}, {255, "255"}, {-3, "-3"}}) {
        file.SetTrack(c.first);
        EXPECT_EQ(build("[track]"), c.second) << c.first;
    }
    for (const auto& c : {std::make_pair(17, "Rock"), {0, "Blues"}, {GENRE_NONE, ""}, {148, ""}, {-1, ""}}) {
        file.SetGenre(c.first);
        EXPECT_EQ(build("[genre]"), c.second) << c.first;
    }
}
