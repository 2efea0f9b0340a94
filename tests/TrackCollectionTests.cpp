#include <gtest/gtest.h>
#include <windows.h>

#include "support/TestFiles.h"
#include "tracklist/TrackCollection.h"

namespace {

class TrackCollectionTest : public ::testing::Test
{
protected:
    CTempDir dir;
    CTrackCollection tracks;

    std::string Song(const std::string& name, const std::string& title, int track = 0, int genre = 255,
                     const std::string& year = "")
    {
        const std::string path = dir / name;
        WriteMp3(path, 1, TagBytes().Put(TITLE, title).Put(YEAR, year)
                              .Byte(TRACK, static_cast<unsigned char>(track))
                              .Byte(GENRE, static_cast<unsigned char>(genre)));
        return path;
    }
    std::vector<std::string> Titles() const
    {
        std::vector<std::string> titles;
        for (size_t row = 0; row < tracks.Count(); ++row)
            titles.push_back(tracks.At(row)->GetTitle());
        return titles;
    }
    std::vector<size_t> All() const
    {
        std::vector<size_t> rows;
        for (size_t row = 0; row < tracks.Count(); ++row)
            rows.push_back(row);
        return rows;
    }
};

} // namespace

TEST_F(TrackCollectionTest, LoadsNamesEndingInMp3InOrderAndCountsTheRest)
{
    tracks.Load({Song("1.mp3", "one")});
    const LoadResult loaded = tracks.Load({dir / "a.mp3", dir / "b.wav", Song("c.MP3", "c"), dir / "song.mp3.bak",
                                           dir / "Songmp3", "bare.mp3"});
    EXPECT_EQ(loaded.firstRow, 1u);
    EXPECT_EQ(loaded.added, 4u);
    EXPECT_EQ(loaded.rejected, 2);
    ASSERT_EQ(tracks.Count(), 5u);
    EXPECT_EQ(tracks.At(2)->GetPath(), dir / "c.MP3");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"one", "", "c", "", ""})); // missing files load empty
    EXPECT_EQ(tracks.At(5), nullptr);
    EXPECT_EQ(tracks.RowOf(tracks.At(2)), 2);
    EXPECT_EQ(tracks.RowOf(nullptr), -1);
}

// One table of the keys each column sorts by: letter case ignored, numbers as numbers, genres
// by name, the file name by its full path; equal keys keep their order.
TEST_F(TrackCollectionTest, SortsByEachFieldsKey)
{
    CreateDirectoryA((dir / "b").c_str(), nullptr);
    CreateDirectoryA((dir / "a").c_str(), nullptr);
    tracks.Load({Song("b\\same.mp3", "cherry", 2, 8, "2001"), Song("a\\same.mp3", "Banana", 10, 19, "199"),
                 Song("x.mp3", "apple", 1, 255, "2000"), Song("y.mp3", "", 0, 17, "")});
    struct Case { TagField field; bool ascending; std::vector<std::string> titles; };
    const Case cases[] = {
        {TF_TITLE, true, {"", "apple", "Banana", "cherry"}},
        {TF_TITLE, false, {"cherry", "Banana", "apple", ""}},
        {TF_TRACK, true, {"", "apple", "cherry", "Banana"}},
        {TF_YEAR, true, {"", "Banana", "apple", "cherry"}},
        {TF_GENRE, true, {"apple", "Banana", "cherry", ""}}, // none, Industrial, Jazz, Rock
        {TF_GENRE, false, {"", "cherry", "Banana", "apple"}},
        {TF_NONE, true, {"Banana", "cherry", "apple", ""}},
        {TF_ARTIST, true, {"Banana", "cherry", "apple", ""}}, // all equal: the order stays
        {TF_ARTIST, false, {"Banana", "cherry", "apple", ""}},
    };
    for (const Case& c : cases) {
        tracks.Sort(c.field, c.ascending);
        EXPECT_EQ(Titles(), c.titles) << c.field << " " << c.ascending;
    }
    // Numbers far outside a tag's byte still sort as numbers.
    tracks.At(0)->SetTrack(1 << 20);
    tracks.At(3)->SetTrack(-5);
    tracks.Sort(TF_TRACK, true);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"", "apple", "cherry", "Banana"}));
}

TEST_F(TrackCollectionTest, GroupEditsMarkEachRowOnceAndIgnoreFieldsOfTheOtherKind)
{
    tracks.Load({Song("a.mp3", "a"), Song("b.mp3", "b"), Song("c.mp3", "c")});
    tracks.SetText(TF_ARTIST, {2, 0}, "Artist");
    tracks.SetNumber(TF_TRACK, {0, 1, 9}, 300);
    tracks.SetText(TF_TRACK, {1}, "7");
    tracks.SetNumber(TF_TITLE, {1}, 7);
    EXPECT_EQ(tracks.At(0)->GetArtist(), "Artist");
    EXPECT_EQ(tracks.At(1)->GetArtist(), "");
    EXPECT_EQ(tracks.At(1)->GetTrack(), 255);
    EXPECT_EQ(tracks.At(1)->GetTitle(), "b");
    EXPECT_EQ(std::vector<CMp3File*>(tracks.Modified().begin(), tracks.Modified().end()),
              (std::vector<CMp3File*>{tracks.At(2), tracks.At(0), tracks.At(1)}));
}

TEST_F(TrackCollectionTest, FailedWritesStayModifiedAndRemovedRowsLeaveTheModifiedList)
{
    tracks.Load({Song("a.mp3", "a"), Song("b.mp3", "b"), Song("c.mp3", "c"), Song("d.mp3", "d")});
    tracks.SetText(TF_TITLE, {2, 0, 1, 3}, "new");
    const std::string held = dir / "c.mp3";
    const std::vector<unsigned char> heldBytes = ReadBytes(held);
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::vector<CMp3File*> failed = tracks.WriteModified();
    CloseHandle(holder);

    EXPECT_EQ(failed, std::vector<CMp3File*>{tracks.At(2)});
    EXPECT_TRUE(tracks.At(2)->IsModified());
    EXPECT_FALSE(tracks.At(0)->IsModified());
    EXPECT_EQ(ReadBytes(held), heldBytes);
    EXPECT_EQ(CMp3File(dir / "b.mp3").GetTitle(), "new");

    tracks.SetText(TF_TITLE, {3}, "again");
    tracks.Remove({3, 0, 3});
    EXPECT_EQ(tracks.Count(), 2u);
    EXPECT_EQ(tracks.At(0)->GetPath(), dir / "b.mp3");
    EXPECT_EQ(std::vector<CMp3File*>(tracks.Modified().begin(), tracks.Modified().end()),
              std::vector<CMp3File*>{tracks.At(1)});
    EXPECT_TRUE(tracks.WriteModified().empty()); // the file is free now
    EXPECT_EQ(CMp3File(held).GetTitle(), "new");
}
