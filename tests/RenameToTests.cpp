#include <gtest/gtest.h>
#include <windows.h>

#include "model/Mp3File.h"
#include "support/TestFiles.h"

namespace {

class RenameToTest : public ::testing::Test
{
protected:
    CTempDir dir;
    std::string path = dir / "song.mp3";
    void SetUp() override { WriteMp3(path, 2, TagBytes().Put(3, "Title")); }
};

} // namespace

TEST_F(RenameToTest, NameWithoutBackslashStaysInTheFolder)
{
    const std::vector<unsigned char> bytes = ReadBytes(path);
    CMp3File file(path);
    ASSERT_TRUE(file.RenameTo("Artist - Title.mp3"));
    EXPECT_EQ(file.GetPath(), dir / "Artist - Title.mp3");
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(ReadBytes(file.GetPath()), bytes);

    // Under Wine the old letter case stays on disk; the call still succeeds.
    ASSERT_TRUE(file.RenameTo("ARTIST - Title.mp3"));
    EXPECT_EQ(CMp3File(file.GetPath()).GetTitle(), "Title");
}

TEST_F(RenameToTest, FullPathIntoAnExistingSubfolder)
{
    ASSERT_TRUE(CreateDirectoryA((dir / "sub").c_str(), nullptr));
    CMp3File file(path);
    ASSERT_TRUE(file.RenameTo(dir / "sub\\x.mp3"));
    EXPECT_EQ(file.GetPath(), dir / "sub\\x.mp3");
    EXPECT_TRUE(FileExists(dir / "sub\\x.mp3"));
    EXPECT_FALSE(FileExists(path));
}

TEST_F(RenameToTest, ExistingNameIsNeverReplaced)
{
    const std::string other = dir / "other.mp3";
    WriteMp3(other, 3);
    const std::vector<unsigned char> mine = ReadBytes(path);
    const std::vector<unsigned char> theirs = ReadBytes(other);
    CMp3File file(path);
    EXPECT_FALSE(file.RenameTo("other.mp3"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(file.GetPath(), path);
    EXPECT_EQ(ReadBytes(path), mine);
    EXPECT_EQ(ReadBytes(other), theirs);
}

TEST_F(RenameToTest, FailuresLeaveThePathAndFileAlone)
{
    CMp3File file(path);
    EXPECT_FALSE(file.RenameTo(""));
    EXPECT_EQ(file.GetPath(), path);

    EXPECT_FALSE(file.RenameTo("what?.mp3"));
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(file.GetPath(), path);

    EXPECT_FALSE(file.RenameTo(dir / "missing\\x.mp3"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(file.GetPath(), path);
    EXPECT_TRUE(FileExists(path));

    ASSERT_TRUE(DeleteFileA(path.c_str()));
    EXPECT_FALSE(file.RenameTo("new.mp3"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(file.GetPath(), path);
}

TEST_F(RenameToTest, TheRecordNamesTheFileAsTheDiskKeepsIt)
{
    // The file system drops dots and blanks at the end of a name.
    CMp3File file(path);
    ASSERT_TRUE(file.RenameTo("kept.mp3 . "));
    EXPECT_EQ(file.GetPath(), dir / "kept.mp3");
    EXPECT_TRUE(FileExists(dir / "kept.mp3"));
    EXPECT_FALSE(file.RenameTo(" . "));
    EXPECT_EQ(file.GetPath(), dir / "kept.mp3");
}
