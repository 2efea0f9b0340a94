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

// One file renamed in turn: a bare name stays in the folder, a full path may go into an existing
// subfolder; a refused name leaves the path, the file and any other file as they were, with the
// reason in GetLastError (ANY: any but "already exists").
TEST_F(RenameToTest, RenamesOrLeavesEverythingAsItWas)
{
    ASSERT_TRUE(CreateDirectoryA((dir / "sub").c_str(), nullptr));
    WriteMp3(dir / "other.mp3", 3);
    const std::vector<unsigned char> mine = ReadBytes(path), theirs = ReadBytes(dir / "other.mp3");
    const DWORD ANY = 0xFFFFFFFF;
    struct Case { std::string name; DWORD error; std::string path; };
    const Case cases[] = {
        {"Artist - Title.mp3", ERROR_SUCCESS, "Artist - Title.mp3"},
        {"ARTIST - Title.mp3", ERROR_SUCCESS, "ARTIST - Title.mp3"}, // under Wine the disk keeps the old case
        {"other.mp3", ERROR_ALREADY_EXISTS, "ARTIST - Title.mp3"}, {"", ANY, "ARTIST - Title.mp3"},
        {"what?.mp3", ANY, "ARTIST - Title.mp3"}, {dir / "missing\\x.mp3", ERROR_PATH_NOT_FOUND, "ARTIST - Title.mp3"},
        {dir / "sub\\x.mp3", ERROR_SUCCESS, "sub\\x.mp3"},
    };
    CMp3File file(path);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool renamed = file.RenameTo(c.name);
        const DWORD error = GetLastError();
        EXPECT_EQ(renamed, c.error == ERROR_SUCCESS);
        if (!renamed) {
            EXPECT_TRUE(c.error == ANY ? error != ERROR_ALREADY_EXISTS : error == c.error) << error;
        }
        EXPECT_EQ(file.GetPath(), dir / c.path);
        EXPECT_EQ(ReadBytes(file.GetPath()), mine);
        EXPECT_EQ(ReadBytes(dir / "other.mp3"), theirs);
    }
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"other.mp3", "sub"}));

    ASSERT_TRUE(DeleteFileA(file.GetPath().c_str()));
    EXPECT_FALSE(file.RenameTo("new.mp3"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(file.GetPath(), dir / "sub\\x.mp3");
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
