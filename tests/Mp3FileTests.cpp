#include <gtest/gtest.h>
#include <windows.h>

#include "model/Mp3File.h"
#include "support/TestFiles.h"

namespace {

const unsigned AUDIO = 3 * MP3_FRAME_SIZE;

class Mp3FileTest : public ::testing::Test
{
protected:
    CTempDir dir;
    std::string path = dir / "song.mp3";

    Id3v1Block LastBlock()
    {
        const std::vector<unsigned char> bytes = ReadBytes(path);
        Id3v1Block block{};
        EXPECT_GE(bytes.size(), ID3V1_SIZE);
        if (bytes.size() >= ID3V1_SIZE)
            std::copy(bytes.end() - ID3V1_SIZE, bytes.end(), block.begin());
        return block;
    }
};

// Holds a file open with the given sharing for the life of the object.
class CFileHolder
{
public:
    CFileHolder(const std::string& path, DWORD access, DWORD share)
        : m_handle(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr))
    {
        EXPECT_NE(m_handle, INVALID_HANDLE_VALUE);
    }
    ~CFileHolder() { CloseHandle(m_handle); }

private:
    HANDLE m_handle;
};

} // namespace

TEST_F(Mp3FileTest, LoadsEveryFieldOfATag)
{
    TagBytes tag;
    tag.Put(TITLE, "Title  ").Put(ARTIST, " Artist").Put(ALBUM, "Album").Put(YEAR, "1999")
        .Put(COMMENT, "Comment").Byte(TRACK, 7).Byte(GENRE, 17);
    WriteMp3(path, 3, tag);

    CMp3File file(path);
    EXPECT_EQ(file.GetPath(), path);
    EXPECT_EQ(file.GetTitle(), "Title");
    EXPECT_EQ(file.GetArtist(), " Artist");
    EXPECT_EQ(file.GetAlbum(), "Album");
    EXPECT_EQ(file.GetYear(), "1999");
    EXPECT_EQ(file.GetComment(), "Comment");
    EXPECT_EQ(file.GetTrack(), 7);
    EXPECT_EQ(file.GetGenre(), 17);
    EXPECT_FALSE(file.IsModified());
}

TEST_F(Mp3FileTest, FilesWithoutATagLoadClearedWithTheirPath)
{
    struct Case { const char* name; std::vector<unsigned char> bytes; };
    std::vector<unsigned char> lowerMagic(300, 'x');
    lowerMagic[300 - 128] = 't'; lowerMagic[300 - 127] = 'a'; lowerMagic[300 - 126] = 'g';
    const Case cases[] = {
        {"empty", {}},
        {"short", std::vector<unsigned char>(127, 'T')},
        {"lower-case magic", lowerMagic},
        {"audio only", std::vector<unsigned char>(AUDIO, 0)},
    };
    for (const Case& c : cases) {
        WriteBytes(path, c.bytes);
        CMp3File file(path);
        EXPECT_EQ(file.GetPath(), path) << c.name;
        EXPECT_EQ(file.GetTitle(), "") << c.name;
        EXPECT_EQ(file.GetComment(), "") << c.name;
        EXPECT_EQ(file.GetTrack(), 0) << c.name;
        EXPECT_EQ(file.GetGenre(), GENRE_NONE) << c.name;
    }
}

TEST_F(Mp3FileTest, MissingFileOrFolderLoadsClearedWithoutPath)
{
    CMp3File missing(dir / "missing.mp3");
    EXPECT_EQ(missing.GetPath(), "");
    ASSERT_TRUE(CreateDirectoryA((dir / "x.mp3").c_str(), nullptr));
    CMp3File folder(dir / "x.mp3");
    EXPECT_EQ(folder.GetPath(), "");
    EXPECT_FALSE(folder.Load(dir / "x.mp3"));
    EXPECT_FALSE(folder.WriteTag());
}

TEST_F(Mp3FileTest, LoadClearsWhatWasThere)
{
    WriteMp3(path, 1, TagBytes().Put(TITLE, "One"));
    CMp3File file(path);
    file.SetArtist("typed");
    EXPECT_FALSE(file.Load(dir / "missing.mp3"));
    EXPECT_EQ(file.GetTitle(), "");
    EXPECT_EQ(file.GetArtist(), "");
    EXPECT_EQ(file.GetPath(), "");
    EXPECT_FALSE(file.IsModified());
}

TEST_F(Mp3FileTest, SettersMarkModifiedEvenWithTheSameValue)
{
    WriteMp3(path, 1, TagBytes().Put(TITLE, "Same"));
    CMp3File file(path);
    file.SetTitle("Same");
    EXPECT_TRUE(file.IsModified());
}

TEST_F(Mp3FileTest, FirstWriteAppendsThenOverwritesInPlace)
{
    WriteMp3(path, 3);
    const unsigned long long audioHash = HashPrefix(path, AUDIO);
    CMp3File file(path);
    file.SetTitle("New");
    ASSERT_TRUE(file.WriteTag());
    EXPECT_FALSE(file.IsModified());
    EXPECT_EQ(FileSize(path), AUDIO + ID3V1_SIZE);

    file.SetArtist("Again");
    ASSERT_TRUE(file.WriteTag());
    EXPECT_EQ(FileSize(path), AUDIO + ID3V1_SIZE);
    EXPECT_EQ(HashPrefix(path, AUDIO), audioHash);

    CMp3File back(path);
    EXPECT_EQ(back.GetTitle(), "New");
    EXPECT_EQ(back.GetArtist(), "Again");
    EXPECT_EQ(back.GetGenre(), GENRE_NONE);
}

TEST_F(Mp3FileTest, WriteAppendsAfterShortFileAndLowerCaseMagic)
{
    WriteBytes(path, {'t', 'a', 'g'});
    CMp3File file(path);
    file.SetTitle("x");
    ASSERT_TRUE(file.WriteTag());
    EXPECT_EQ(FileSize(path), 3 + ID3V1_SIZE);
    EXPECT_EQ(ReadBytes(path)[0], 't');

    CMp3File back(path);
    EXPECT_EQ(back.GetTitle(), "x");
}

TEST_F(Mp3FileTest, WriteKeepsUnnamedGenreBytes)
{
    for (int genre : {200, 255}) {
        WriteMp3(path, 1, TagBytes().Byte(GENRE, static_cast<unsigned char>(genre)));
        CMp3File file(path);
        EXPECT_EQ(file.GetGenre(), genre);
        file.SetTitle("t");
        ASSERT_TRUE(file.WriteTag());
        EXPECT_EQ(LastBlock()[GENRE], genre);
    }
}

TEST_F(Mp3FileTest, WriteFailsWhileAnotherOpenerHoldsTheFile)
{
    WriteMp3(path, 1);
    CMp3File file(path);
    file.SetTitle("blocked");
    {
        CFileHolder reader(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        EXPECT_FALSE(file.WriteTag());
        EXPECT_TRUE(file.IsModified());
    }
    EXPECT_TRUE(file.WriteTag());
}

TEST_F(Mp3FileTest, WriteFailsOnReadOnlyFile)
{
    WriteMp3(path, 1);
    CMp3File file(path);
    file.SetTitle("x");
    if (!MakeReadOnly(path))
        GTEST_SKIP() << "read-only files are writable here (running as root)";
    EXPECT_FALSE(file.WriteTag());
    EXPECT_TRUE(file.IsModified());
    EXPECT_EQ(FileSize(path), MP3_FRAME_SIZE);
}

TEST_F(Mp3FileTest, WriteNeverRecreatesAFileThatWentAway)
{
    WriteMp3(path, 1);
    CMp3File file(path);
    file.SetTitle("x");
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    EXPECT_FALSE(file.WriteTag());
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(file.IsModified());
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
