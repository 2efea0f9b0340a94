#include <gtest/gtest.h>

#include <vector>

#include "model/Mp3File.h"
#include "rename/NameFormat.h"

namespace {

// Opens the compiled state to the tests.
class CTestFormat : public CNameFormat
{
public:
    explicit CTestFormat(const std::string& format) : CNameFormat(format) { CompileFormat(); }
    void Recompile(const std::string& format) { m_strFormat = format; CompileFormat(); }
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

TEST(NameFormatCompile, PatternHoldsPlaceholdersAndLiteralBytes)
{
    struct Case { std::string format; std::string pattern; std::vector<TagField> slots; };
    const Case cases[] = {
        {"[title]-[artist].mp3", Bytes("\0-\0.mp3"), SlotsOf({TF_TITLE, TF_ARTIST})},
        {"[Track] - [ title ].mp3", Bytes("\0 - \0.mp3"), SlotsOf({TF_TRACK, TF_TITLE})},
        {"[year]]x", Bytes("\0]x"), SlotsOf({TF_YEAR})},
        {"x[name]-[album]", Bytes("x\0-\0"), SlotsOf({TF_NONE, TF_ALBUM})},
        {"100%[title]%s", Bytes("100%\0%s"), SlotsOf({TF_TITLE})},
        {"[title][artist][album][genre][year][track][comment]", std::string(7, '\0'),
         SlotsOf({TF_TITLE, TF_ARTIST, TF_ALBUM, TF_GENRE, TF_YEAR, TF_TRACK, TF_COMMENT})},
    };
    for (const Case& c : cases) {
        const CTestFormat format(c.format);
        EXPECT_EQ(format.Pattern(), c.pattern) << c.format;
        EXPECT_EQ(format.Slots(), c.slots) << c.format;
    }
}

TEST(NameFormatCompile, WordsIgnoreAsciiCaseAndSurroundingWhiteSpace)
{
    const CTestFormat plain("[title].mp3");
    for (const char* text : {"[TITLE].mp3", "[TiTlE].mp3", "[\t\n\v\f\r title\r\n].mp3"}) {
        const CTestFormat format(text);
        EXPECT_EQ(format.Pattern(), plain.Pattern()) << text;
        EXPECT_EQ(format.Slots(), plain.Slots()) << text;
    }
    for (const char* text : {"[ti tle]", "[title\xA0]", "[t\xC4tle]"})
        EXPECT_FALSE(CTestFormat(text).IsValid()) << text;
}

TEST(NameFormatCompile, InvalidFormatsLeaveNothingCompiled)
{
    const std::string formats[] = {
        "", "song.mp3", "[name].mp3", "[]", "[title", "[title] [artist", "[[title]",
        "[title][x][x][x][x][x][x][x]", Bytes("[title]\0"),
    };
    for (const std::string& text : formats) {
        const CTestFormat format(text);
        EXPECT_EQ(format.Pattern(), "") << text;
        EXPECT_EQ(format.Slots(), SlotsOf({})) << text;
    }
}

TEST(NameFormatCompile, RecompilingStartsAfresh)
{
    CTestFormat format("[title]-[artist]-[album]");
    format.Recompile("[title]");
    EXPECT_EQ(format.Pattern(), Bytes("\0"));
    EXPECT_EQ(format.Slots(), SlotsOf({TF_TITLE}));
    format.Recompile("[artist] [title");
    EXPECT_FALSE(format.IsValid());
    EXPECT_EQ(format.Slots(), SlotsOf({}));
}

namespace {

class NameBuildTest : public ::testing::Test
{
protected:
    CMp3File file;
    std::string Build(const std::string& text) const { return CTestFormat(text).BuildFileName(file); }
};

} // namespace

TEST_F(NameBuildTest, FillsSlotsAndKeepsLiteralsAroundEmptyFields)
{
    EXPECT_EQ(Build("[title]-[artist].mp3"), "");
    file.SetTitle("T ");
    EXPECT_EQ(Build("[title]-[artist].mp3"), "T -.mp3");
    file.SetArtist("A");
    EXPECT_EQ(Build("[title]-[artist].mp3"), "T -A.mp3");
    EXPECT_EQ(Build("[artist]%[x][title][title]"), "A%T T ");

    file.SetAlbum("l");
    file.SetYear("1999 ");
    file.SetComment("c");
    file.SetTrack(4);
    file.SetGenre(1);
    EXPECT_EQ(Build("[comment][track][year][genre][album][artist][title]"), "c41999 Classic RocklAT ");
}

TEST_F(NameBuildTest, EmptyWithoutFilledSlotOrValidFormat)
{
    file.SetTitle("T");
    file.SetTrack(3);
    for (const char* text : {"[artist]", "[album] - [year]", "[comment][x]", "[genre].mp3",
                             "", "song.mp3", "[title] [track", "[[title]"})
        EXPECT_EQ(Build(text), "") << text;
}

TEST_F(NameBuildTest, TrackIsPlainDecimalAndGenreItsName)
{
    for (const auto& c : {std::make_pair(0, "0"), {7, "7"}, {255, "255"}, {-3, "-3"}}) {
        file.SetTrack(c.first);
        EXPECT_EQ(Build("[track].[artist]"), std::string(c.second) + ".") << c.first;
    }
    for (const auto& c : {std::make_pair(17, "Rock.mp3"), {0, "Blues.mp3"}, {GENRE_NONE, ""},
                          {148, ""}, {-1, ""}}) {
        file.SetGenre(c.first);
        EXPECT_EQ(Build("[genre].mp3"), c.second) << c.first;
    }
}
