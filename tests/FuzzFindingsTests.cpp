#include <gtest/gtest.h>

#include "support/TestFiles.h"

// Inputs found by the fuzz targets (fuzz/), kept as regular tests.

namespace {

std::string WithZero(const std::string& before, const std::string& after)
{
    return before + std::string(1, '\0') + after;
}

} // namespace

// A comment holding a zero byte at 28 and text after it, with no track: the bytes after the
// zero were written into the track byte and decoded as track 89 ('Y').
TEST(FuzzFindings, TextAfterZeroByteInCommentDoesNotBecomeTrack)
{
    Id3v1Fields f;
    f.comment = WithZero(std::string(28, 'c'), "Y");
    f.track = 0;
    const Id3v1Block block = EncodeId3v1(f);
    EXPECT_EQ(block[MARK], 0);
    EXPECT_EQ(block[TRACK], 0);
    const Id3v1Fields back = DecodeId3v1(block);
    EXPECT_EQ(back.track, 0);
    EXPECT_EQ(back.comment, std::string(28, 'c'));
}

// Every text slot ends at the text's first zero byte; the rest of the slot stays zero.
TEST(FuzzFindings, EncodeStopsEachTextAtItsFirstZeroByte)
{
    Id3v1Fields f;
    f.title = WithZero("t", "hidden");
    f.artist = WithZero("", "hidden");
    f.album = WithZero("al", "x");
    f.year = WithZero("19", "99");
    f.comment = WithZero("c", "hidden");
    f.track = 3;
    const Id3v1Block block = EncodeId3v1(f);
    for (unsigned i = COMMENT + 1; i < MARK; ++i)
        EXPECT_EQ(block[i], 0) << i;
    EXPECT_EQ(block[YEAR + 2], 0);
    EXPECT_EQ(block[YEAR + 3], 0);
    const Id3v1Fields back = DecodeId3v1(block);
    EXPECT_EQ(back.title, "t");
    EXPECT_EQ(back.artist, "");
    EXPECT_EQ(back.album, "al");
    EXPECT_EQ(back.year, "19");
    EXPECT_EQ(back.comment, "c");
    EXPECT_EQ(back.track, 3);
}
