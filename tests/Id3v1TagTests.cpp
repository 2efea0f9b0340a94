#include <gtest/gtest.h>

#include "support/TestFiles.h"

// The layout by example; the fuzz targets id3v1_decode and id3v1_roundtrip check the same rules
// on any block and any fields.
namespace {

std::string Describe(const Id3v1Fields& f)
{
    return f.title + "|" + f.artist + "|" + f.album + "|" + f.year + "|" + f.comment + "|" +
           std::to_string(f.track) + "|" + std::to_string(f.genre);
}

const std::string C28(28, 'c'), C30(30, 'c');

} // namespace

TEST(Id3v1Decode, ReadsEachSlotUpToItsZeroTrimmedAtTheEnd)
{
    EXPECT_FALSE(HasId3v1Magic(TagBytes().Put(0, "tag").bytes));
    EXPECT_FALSE(HasId3v1Magic(TagBytes().Put(0, "TAg").bytes));
    const std::pair<TagBytes, std::string> cases[] = {
        {TagBytes().Put(COMMENT, C28).Byte(TRACK, 7).Byte(GENRE, 17), "||||" + C28 + "|7|17"},
        {TagBytes().Put(COMMENT, C28 + "cd").Byte(GENRE, 3), "||||" + C28 + "cd|0|3"},
        {TagBytes().Put(TITLE, std::string(30, 't')).Put(ARTIST, std::string(30, 'a')).Put(ALBUM, std::string(30, 'b'))
             .Put(YEAR, "1999"),
         std::string(30, 't') + "|" + std::string(30, 'a') + "|" + std::string(30, 'b') + "|1999||0|0"},
        {TagBytes().Put(TITLE, "Song    ").Put(ARTIST, "  Band\t\r\n\v\f").Put(YEAR, "19  ").Put(COMMENT, "note \xA0")
             .Byte(MARK, 1),
         "Song|  Band||19  |note \xA0|0|0"}, // a byte above 127 is not white space
        {TagBytes().Put(TITLE, std::string("ab\0cd", 5)), "ab|||||0|0"},
    };
    for (const auto& [tag, fields] : cases) {
        EXPECT_TRUE(HasId3v1Magic(tag.bytes));
        EXPECT_EQ(Describe(DecodeId3v1(tag.bytes)), fields);
    }
}

TEST(Id3v1Encode, CutsTextsClampsTheTrackAndKeepsTheGenresLowByte)
{
    struct Case { std::string comment; int track; int genre; unsigned char mark, trackByte, genreByte; std::string back; };
    const Case cases[] = {
        {C30 + "c", 0, 255, 'c', 'c', 255, C30},
        {C30, 5, 17, 0, 5, 17, C28},
        {C30, 300, 255, 0, 255, 255, C28},
        {C30, -3, 200 + 256, 0, 0, 200, C28}, // not 0, so the short form, the byte clamped to 0
        {"", 0, -1, 0, 0, 255, ""},
    };
    for (const Case& c : cases) {
        Id3v1Fields f;
        f.title = std::string(40, 't');
        f.album = std::string(31, 'b');
        f.year = "199999";
        f.comment = c.comment;
        f.track = c.track;
        f.genre = c.genre;
        const Id3v1Block block = EncodeId3v1(f);
        EXPECT_EQ(block[MARK], c.mark) << c.track;
        EXPECT_EQ(block[TRACK], c.trackByte) << c.track;
        EXPECT_EQ(block[GENRE], c.genreByte) << c.genre;
        const Id3v1Fields back = DecodeId3v1(block);
        EXPECT_EQ(back.title + "|" + back.album + "|" + back.year + "|" + back.comment,
                  std::string(30, 't') + "|" + std::string(30, 'b') + "|1999|" + c.back);
    }
}
