// One table of files that a tag editor meets in the wild, each taken through loading, a group
// edit, writing and renaming: nothing crashes, every failed write is counted and leaves its
// file as it was, audio bytes stay as they were, and nothing leaves its folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>

#include "model/PathText.h"
#include "support/TestFiles.h"
#include "tracklist/TrackCollection.h"

namespace {

struct Hostile
{
    const char* what;
    std::string name;                             // in the test folder
    std::function<void(const std::string&)> make; // writes the file (or not)
    bool writeFails;
    std::string newName; // empty: skipped by the rename
};

TagBytes Tag(const std::string& title, const std::string& artist, int genre = 255)
{
    return TagBytes().Put(TITLE, title).Put(ARTIST, artist).Byte(GENRE, static_cast<unsigned char>(genre));
}

} // namespace

TEST(HostileInputs, EachGoesThroughLoadEditWriteAndRenameSafely)
{
    CTempDir parent;
    const std::string dir = parent / "music\\";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    const auto mp3 = [](const TagBytes& tag) { return [tag](const std::string& p) { WriteMp3(p, 2, tag); }; };
    const auto bytes = [](size_t n) { return [n](const std::string& p) { WriteBytes(p, std::vector<unsigned char>(n, 'x')); }; };
    std::vector<Hostile> table = {
        {"0 bytes", "empty.mp3", bytes(0), false, ""},
        {"127 bytes", "short.mp3", bytes(127), false, ""},
        {"held open without sharing", "held.mp3", mp3(Tag("T3", "A3")), true, ""},
        {"deleted after loading", "gone.mp3", mp3(Tag("T4", "A4")), true, ""},
        {"renamed after loading", "moved.mp3", mp3(Tag("T5", "A5")), true, ""},
        {"a path of 250+ characters that is not there", std::string(250, 'L') + ".mp3", nullptr, true, ""},
        {"bytes above 127 in the name", "\xE9t\xE9.mp3", mp3(Tag("T7", "A7")), false, "T7-A7.mp3"},
        {"..\\..\\x in a tag", "up.mp3", mp3(Tag("..\\..\\x", "y")), false, ""},
        {"a drive in a tag", "drive.mp3", mp3(Tag("C:", "y")), false, ""},
        {"a stream colon in a tag", "stream.mp3", mp3(Tag("a:b", "y")), false, ""},
        {"refused characters in a tag", "chars.mp3", mp3(Tag("<>|?*\"", "y")), false, ""},
        {"control bytes in a tag", "control.mp3", mp3(Tag("a\x01\x1f", "y")), false, ""},
        {"30 bytes and no zero", "full.mp3", mp3(Tag("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "Z")), false,
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123-Z.mp3"},
        {"genre 255", "g255.mp3", mp3(Tag("T14", "A14", 255)), false, "T14-A14.mp3"},
        {"genre 200", "g200.mp3", mp3(Tag("T15", "A15", 200)), false, "T15-A15.mp3"},
        {"read-only", "readonly.mp3", mp3(Tag("T16", "A16")), false, "T16-A16.mp3"},
    };
    std::vector<std::string> paths;
    for (const Hostile& h : table) {
        paths.push_back(dir + h.name);
        if (h.make)
            h.make(paths.back());
    }
    table.back().writeFails = MakeReadOnly(paths.back());
    const auto at = [&table](const std::string& name) {
        return static_cast<size_t>(std::find_if(table.begin(), table.end(), [&](const Hostile& h) { return h.name == name; }) - table.begin());
    };
    const size_t held = at("held.mp3"), gone = at("gone.mp3"), moved = at("moved.mp3");
    std::vector<std::vector<unsigned char>> before;
    for (const std::string& path : paths)
        before.push_back(ReadBytes(path));
    const Texts parentBefore = Listing(parent.Path());

    CTrackCollection tracks;
    HANDLE holder = CreateFileA(paths[held].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    tracks.Load(paths);
    ASSERT_EQ(tracks.Count(), table.size());
    DeleteFileA(paths[gone].c_str());
    MoveFileA(paths[moved].c_str(), (dir + "moved2.mp3").c_str());

    std::vector<size_t> all;
    for (size_t row = 0; row < table.size(); ++row)
        all.push_back(row);
    tracks.SetText(TF_COMMENT, all, "note");
    tracks.SetText(TF_YEAR, all, "1999");
    const std::vector<CMp3File*> failed = tracks.WriteModified();
    for (size_t i = 0; i < table.size(); ++i) {
        const Hostile& h = table[i];
        EXPECT_EQ(std::count(failed.begin(), failed.end(), tracks.At(i)) == 1, h.writeFails) << h.what;
        EXPECT_EQ(tracks.At(i)->IsModified(), h.writeFails) << h.what;
        if (h.writeFails)
            continue;
        const CMp3File written(paths[i]);
        EXPECT_EQ(written.GetYear() + written.GetComment(), "1999note") << h.what;
        const std::vector<unsigned char> now = ReadBytes(paths[i]);
        const size_t audio = before[i].size() >= ID3V1_SIZE && table[i].name != "short.mp3" ? before[i].size() - ID3V1_SIZE : before[i].size();
        ASSERT_GE(now.size(), audio) << h.what;
        EXPECT_TRUE(std::equal(before[i].begin(), before[i].begin() + audio, now.begin())) << h.what;
    }
    EXPECT_FALSE(FileExists(paths[gone])); // a file that went away does not come back as a bare tag
    EXPECT_FALSE(FileExists(paths[at(std::string(250, 'L') + ".mp3")]));
    EXPECT_EQ(CMp3File(paths[at("g200.mp3")]).GetGenre(), 200);
    EXPECT_EQ(CMp3File(paths[at("g255.mp3")]).GetGenre(), 255);

    CNameFormat format("[title]-[artist].mp3");
    format.CompileFormat();
    const RenameRun run = tracks.Rename(all, format);
    CloseHandle(holder);
    const int renamed = static_cast<int>(std::count_if(table.begin(), table.end(), [](const Hostile& h) { return !h.newName.empty(); }));
    EXPECT_EQ(run.counts[RENAME_DONE], renamed);
    EXPECT_EQ(run.counts[RENAME_SKIPPED], static_cast<int>(table.size()) - renamed);

    // A failed write left its file as it was; everything stayed in its folder.
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].writeFails) {
            EXPECT_EQ(ReadBytes(paths[i]), i == gone || i == moved ? std::vector<unsigned char>() : before[i]) << table[i].what;
        }
    }
    EXPECT_EQ(Listing(parent.Path()), parentBefore);
    Texts expected = {"moved2.mp3"};
    for (size_t i = 0; i < table.size(); ++i) {
        const Hostile& h = table[i];
        const std::string now = h.newName.empty() ? h.name : h.newName;
        EXPECT_EQ(NameOf(tracks.At(i)->GetPath().empty() ? paths[i] : tracks.At(i)->GetPath()), now) << h.what;
        if (h.make && i != gone && i != moved)
            expected.push_back(now);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listing(dir), expected);
}
