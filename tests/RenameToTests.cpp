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

namespace {

// Records each move and fails the moves from a given one on, or only that one.
class CRecordingMoves : public CDiskOps
{
public:
    bool MoveWithoutReplacing(const char* from, const char* to) const override
    {
        const int index = static_cast<int>(moves.size());
        moves.emplace_back(from, to);
        if (index == failAt || (failFrom >= 0 && index >= failFrom)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        return CDiskOps::MoveWithoutReplacing(from, to);
    }
    mutable std::vector<std::pair<std::string, std::string>> moves;
    int failAt = -1;
    int failFrom = -1;
};

} // namespace

TEST_F(RenameToTest, FailedCaseOnlyRenameKeepsTheOldNameAndTheError)
{
    const std::string lower = dir / "t-a.mp3";
    ASSERT_TRUE(MoveFileA(path.c_str(), lower.c_str()));
    CMp3File file(lower);
    CRecordingMoves disk;
    disk.failAt = 1; // the move from the temporary name to the new one
    EXPECT_FALSE(file.RenameTo("T-A.mp3", disk));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(file.GetPath(), lower);
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"t-a.mp3"});
    ASSERT_EQ(disk.moves.size(), 3u); // there, failed onward, back
    EXPECT_EQ(disk.moves[2].second, lower);

    // When even the way back fails, the record follows the file to its temporary name.
    CRecordingMoves stuck;
    stuck.failFrom = 1;
    EXPECT_FALSE(file.RenameTo("T-A.mp3", stuck));
    EXPECT_EQ(file.GetPath(), stuck.moves[0].second);
    EXPECT_TRUE(FileExists(file.GetPath()));
}
