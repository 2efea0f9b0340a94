#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace {


std::string Repeat(char c, size_t n) { return std::string(n, c); }

} // namespace

TEST(Id3v1Decode, MagicMustBeUpperCase)
{
    TagBytes tag;
    EXPECT_TRUE(HasId3v1Magic(tag.bytes));
    tag.Put(0, "tag");
    EXPECT_FALSE(HasId3v1Magic(tag.bytes));
    tag.Put(0, "TAg");
    EXPECT_FALSE(HasId3v1Magic(tag.bytes));
}

TEST(Id3v1Decode, FormWithTrackNumberTakes28ByteComment)
{
    TagBytes tag;
    tag.Put(COMMENT, Repeat('c', 28)).Byte(MARK, 0).Byte(TRACK, 7).Byte(GENRE, 17);
    const Id3v1Fields f = DecodeId3v1(tag.bytes);
    EXPECT_EQ(f.comment, Repeat('c', 28));
    EXPECT_EQ(f.track, 7);
    EXPECT_EQ(f.genre, 17);
}

TEST(Id3v1Decode, FormWithoutTrackNumberTakes30ByteComment)
{
    TagBytes tag;
    tag.Put(COMMENT, Repeat('c', 29) + "d").Byte(GENRE, 3);
    const Id3v1Fields f = DecodeId3v1(tag.bytes);
    EXPECT_EQ(f.comment, Repeat('c', 29) + "d");
    EXPECT_EQ(f.track, 0);
    EXPECT_EQ(f.genre, 3);
}

TEST(Id3v1Decode, FullWidthSlotsRunToTheirEnd)
{
    TagBytes tag;
    tag.Put(TITLE, Repeat('t', 30)).Put(ARTIST, Repeat('a', 30)).Put(ALBUM, Repeat('b', 30))
        .Put(YEAR, "1999");
    const Id3v1Fields f = DecodeId3v1(tag.bytes);
    EXPECT_EQ(f.title, Repeat('t', 30));
    EXPECT_EQ(f.artist, Repeat('a', 30));
    EXPECT_EQ(f.album, Repeat('b', 30));
    EXPECT_EQ(f.year, "1999");
}

TEST(Id3v1Decode, TrimsTrailingWhiteSpaceButKeepsLeadingAndYear)
{
    TagBytes tag;
    tag.Put(TITLE, "Song    ").Put(ARTIST, "  Band\t\r\n\v\f").Put(YEAR, "19  ")
        .Put(COMMENT, "note \xA0").Byte(MARK, 1);
    const Id3v1Fields f = DecodeId3v1(tag.bytes);
    EXPECT_EQ(f.title, "Song");
    EXPECT_EQ(f.artist, "  Band");
    EXPECT_EQ(f.year, "19  ");
    EXPECT_EQ(f.comment, "note \xA0"); // a byte above 127 is not white space
}

TEST(Id3v1Decode, TextStopsAtFirstZero)
{
    TagBytes tag;
    tag.Put(TITLE, std::string("ab\0cd", 5));
    EXPECT_EQ(DecodeId3v1(tag.bytes).title, "ab");
}

TEST(Id3v1Encode, CutsTextsToTheirSlots)
{
    Id3v1Fields f;
    f.title = Repeat('t', 40);
    f.artist = "Artist";
    f.album = Repeat('b', 31);
    f.year = "199999";
    const Id3v1Block block = EncodeId3v1(f);
    EXPECT_TRUE(HasId3v1Magic(block));
    const Id3v1Fields back = DecodeId3v1(block);
    EXPECT_EQ(back.title, Repeat('t', 30));
    EXPECT_EQ(back.artist, "Artist");
    EXPECT_EQ(block[ARTIST + 6], 0);
    EXPECT_EQ(back.album, Repeat('b', 30));
    EXPECT_EQ(back.year, "1999");
}

TEST(Id3v1Encode, TrackDecidesCommentWidth)
{
    Id3v1Fields f;
    f.comment = Repeat('c', 31);
    f.track = 0;
    Id3v1Block block = EncodeId3v1(f);
    EXPECT_EQ(block[MARK], 'c');
    EXPECT_EQ(block[TRACK], 'c');
    EXPECT_EQ(DecodeId3v1(block).comment, Repeat('c', 30));

    f.track = 5;
    block = EncodeId3v1(f);
    EXPECT_EQ(block[MARK], 0);
    EXPECT_EQ(block[TRACK], 5);
    EXPECT_EQ(DecodeId3v1(block).comment, Repeat('c', 28));
}

TEST(Id3v1Encode, ClampsTrackAndKeepsGenreLowByte)
{
    Id3v1Fields f;
    f.comment = Repeat('c', 30);
    f.track = 300;
    f.genre = 255;
    Id3v1Block block = EncodeId3v1(f);
    EXPECT_EQ(block[TRACK], 255);
    EXPECT_EQ(block[GENRE], 255);

    f.track = -3; // not 0, so the short comment form, with the byte clamped to 0
    f.genre = 200 + 256;
    block = EncodeId3v1(f);
    EXPECT_EQ(block[MARK], 0);
    EXPECT_EQ(block[TRACK], 0);
    EXPECT_EQ(block[COMMENT + 27], 'c');
    EXPECT_EQ(block[GENRE], 200);

    f.genre = -1;
    EXPECT_EQ(EncodeId3v1(f)[GENRE], 255);
}
