#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "model/Mp3File.h"
#include "support/TestFiles.h"

// How a file reads, what a write makes of it, and what a failed write leaves. Files that cannot
// be written at all (held, read-only, gone, a folder) are the hostile inputs' part.
namespace {

const unsigned AUDIO = 3 * MP3_FRAME_SIZE;

class Mp3FileTest : public ::testing::Test
{
protected:
    CTempDir dir;
    std::string path = dir / "song.mp3";
};

std::string Fields(const CMp3File& f)
{
    return f.GetTitle() + "|" + f.GetArtist() + "|" + f.GetAlbum() + "|" + f.GetYear() + "|" + f.GetComment() + "|" +
           std::to_string(f.GetTrack()) + "|" + std::to_string(f.GetGenre()) + (f.IsModified() ? "|modified" : "");
}

} // namespace

TEST_F(Mp3FileTest, ReadsTheLastBlockWhenItIsATag)
{
    std::vector<unsigned char> lowerMagic(300, 'x');
    std::copy_n("tag", 3, lowerMagic.end() - ID3V1_SIZE);
    std::vector<unsigned char> tagged(AUDIO, 0);
    const TagBytes tag = TagBytes().Put(TITLE, "Title  ").Put(ARTIST, " Artist").Put(ALBUM, "Album")
                             .Put(YEAR, "1999").Put(COMMENT, "Comment").Byte(TRACK, 7).Byte(GENRE, 17);
    tagged.insert(tagged.end(), tag.bytes.begin(), tag.bytes.end());
    const std::pair<std::vector<unsigned char>, std::string> cases[] = {
        {tagged, "Title| Artist|Album|1999|Comment|7|17"},
        {{}, "|||||0|255"},
        {std::vector<unsigned char>(127, 'T'), "|||||0|255"},
        {lowerMagic, "|||||0|255"},
        {std::vector<unsigned char>(AUDIO, 0), "|||||0|255"},
    };
    for (const auto& [bytes, fields] : cases) {
        WriteBytes(path, bytes);
        CMp3File file(path);
        EXPECT_EQ(file.GetPath(), path);
        EXPECT_EQ(Fields(file), fields);
    }
}

TEST_F(Mp3FileTest, AFileThatCannotBeReadLoadsClearedWithoutPath)
{
    WriteMp3(path, 1, TagBytes().Put(TITLE, "One"));
    CMp3File file(path);
    file.SetArtist("typed");
    ASSERT_TRUE(CreateDirectoryA((dir / "x.mp3").c_str(), nullptr));
    for (const std::string& unreadable : {dir / "missing.mp3", dir / "x.mp3"}) {
        EXPECT_FALSE(file.Load(unreadable));
        EXPECT_EQ(file.GetPath(), "");
        EXPECT_EQ(Fields(file), "|||||0|255");
        EXPECT_EQ(Fields(CMp3File(unreadable)), "|||||0|255");
    }
    EXPECT_FALSE(file.WriteTag());
}

// The first write appends a tag to a file without one, later writes overwrite it in place;
// the bytes before the tag never change.
TEST_F(Mp3FileTest, WritesAppendOnceThenOverwriteInPlace)
{
    const std::vector<unsigned char> audio(AUDIO, 0x55);
    const TagBytes old = TagBytes().Put(TITLE, "Old").Byte(GENRE, 255);
    std::vector<unsigned char> tagged = audio;
    tagged.insert(tagged.end(), old.bytes.begin(), old.bytes.end());
    const std::pair<std::vector<unsigned char>, size_t> cases[] = {
        {audio, AUDIO}, {{'t', 'a', 'g'}, 3}, {tagged, AUDIO},
    };
    for (const auto& [bytes, kept] : cases) {
        WriteBytes(path, bytes);
        CMp3File file(path);
        file.SetTitle("New");
        ASSERT_TRUE(file.WriteTag());
        EXPECT_FALSE(file.IsModified());
        file.SetArtist("Again");
        ASSERT_TRUE(file.WriteTag());
        const std::vector<unsigned char> now = ReadBytes(path);
        ASSERT_EQ(now.size(), kept + ID3V1_SIZE);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + kept, now.begin()));
        EXPECT_EQ(Fields(CMp3File(path)), "New|Again||||0|255");
    }
}

namespace {

// Writes only half of what it is given, once, then behaves again.
class CHalfWrite : public CDiskOps
{
public:
    bool WriteBytes(void* handle, const void* data, unsigned long size, unsigned long* written) const override
    {
        const unsigned long count = m_armed ? size / 2 : size;
        m_armed = false;
        return CDiskOps::WriteBytes(handle, data, count, written);
    }

private:
    mutable bool m_armed = true;
};

} // namespace

// A short write is undone: an appended tag is cut back off, an overwritten one put back.
TEST_F(Mp3FileTest, ShortWriteLeavesTheFileAsItWas)
{
    for (bool tagged : {false, true}) {
        if (tagged)
            WriteMp3(path, 3, TagBytes().Put(TITLE, "Old title").Byte(GENRE, 9));
        else
            WriteMp3(path, 3);
        const std::vector<unsigned char> before = ReadBytes(path);
        CMp3File file(path);
        file.SetTitle("A much longer new title");
        EXPECT_FALSE(file.WriteTag(CHalfWrite()));
        EXPECT_TRUE(file.IsModified());
        EXPECT_EQ(ReadBytes(path), before) << tagged;
    }
}
