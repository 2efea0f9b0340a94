// One table of files that a tag editor meets in the wild, each taken through loading, a cell
// edit, a group edit, writing and renaming: nothing crashes, every failure is counted and
// reported, audio bytes stay as they were, and nothing leaves its folder.
#include <algorithm>
#include <functional>

#include "app/resource.h"
#include "model/Mp3File.h"
#include "rename/NameFormat.h"
#include "support/GuiTest.h"
#include "support/TestFiles.h"

namespace {



struct Hostile
{
    const char* what;
    std::string name;                             // in the test folder
    std::function<void(const std::string&)> make; // writes the file (or not)
    bool writeFails;
    bool renamed;      // else skipped
    std::string newName;
};

TagBytes Tag(const std::string& title, const std::string& artist, int genre = 255)
{
    return TagBytes().Put(TITLE, title).Put(ARTIST, artist).Byte(GENRE, static_cast<unsigned char>(genre));
}

} // namespace

TEST(HostileInputs, EachGoesThroughLoadEditWriteAndRenameSafely)
{
    CTestApp app;
    CTestHost host;
    CTempDir parent;
    const std::string dir = parent / "music\\";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    CMessageBoxScript boxes;
    CTrackListCtrl list;
    app.m_pMainWnd = &host;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 790, 380}, host, IDC_TRACKLIST));
    TrackListSetup setup;
    setup.widthForColumns = 790;
    list.InitList(setup);

    const auto mp3 = [](const TagBytes& tag) { return [tag](const std::string& p) { WriteMp3(p, 2, tag); }; };
    const std::string longPath = dir + std::string(250, 'L') + ".mp3";
    std::vector<Hostile> table = {
        {"0 bytes", "empty.mp3", [](const std::string& p) { WriteBytes(p, {}); }, false, false, ""},
        {"127 bytes", "short.mp3", [](const std::string& p) { WriteBytes(p, std::vector<unsigned char>(127, 'x')); }, false, false, ""},
        {"a folder", "x.mp3", [](const std::string& p) { CreateDirectoryA(p.c_str(), nullptr); }, true, false, ""},
        {"held open without sharing", "held.mp3", mp3(Tag("T3", "A3")), true, false, ""},
        {"deleted after loading", "gone.mp3", mp3(Tag("T4", "A4")), true, false, ""},
        {"renamed after loading", "moved.mp3", mp3(Tag("T5", "A5")), true, false, ""},
        {"a path of 250+ characters that is not there", longPath.substr(dir.size()), nullptr, true, false, ""},
        {"bytes above 127 in the name", "\xE9t\xE9.mp3", mp3(Tag("T7", "A7")), false, true, "T7-A7.mp3"},
        {"..\\..\\x in a tag", "up.mp3", mp3(Tag("..\\..\\x", "y")), false, false, ""},
        {"a drive in a tag", "drive.mp3", mp3(Tag("C:", "y")), false, false, ""},
        {"a stream colon in a tag", "stream.mp3", mp3(Tag("a:b", "y")), false, false, ""},
        {"refused characters in a tag", "chars.mp3", mp3(Tag("<>|?*\"", "y")), false, false, ""},
        {"control bytes in a tag", "control.mp3", mp3(Tag("a\x01\x1f", "y")), false, false, ""},
        {"30 bytes and no zero", "full.mp3", mp3(Tag("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "Z")), false, true,
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123-Z.mp3"},
        {"genre 255", "g255.mp3", mp3(Tag("T14", "A14", 255)), false, true, "T14-A14.mp3"},
        {"genre 200", "g200.mp3", mp3(Tag("T15", "A15", 200)), false, true, "T15-A15.mp3"},
        {"read-only", "readonly.mp3", mp3(Tag("T16", "A16")), false, true, "T16-A16.mp3"},
    };
    std::vector<std::string> paths;
    for (const Hostile& h : table) {
        paths.push_back(dir + h.name);
        if (h.make)
            h.make(paths.back());
    }
    const bool readOnly = MakeReadOnly(dir + "readonly.mp3");
    table.back().writeFails = readOnly;
    std::vector<unsigned long long> audio(table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        const unsigned long long size = FileSize(paths[i]);
        audio[i] = HashPrefix(paths[i], size >= ID3V1_SIZE && table[i].name != "short.mp3" ? size - ID3V1_SIZE : size);
    }
    const std::vector<std::string> parentBefore = Listing(parent.Path());

    HANDLE held = CreateFileA(paths[3].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    list.AddFiles(paths);
    ASSERT_EQ(list.GetItemCount(), static_cast<int>(table.size()));
    DeleteFileA(paths[4].c_str());
    MoveFileA(paths[5].c_str(), (dir + "moved2.mp3").c_str());
    EXPECT_EQ(list.GetItemText(15, 4), ""); // genre 200 has no name
    EXPECT_EQ(list.GetItemText(13, 1), "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");

    // A cell edit of every row, then a group edit of all of them.
    for (int row = 0; row < list.GetItemCount(); ++row) {
        CWnd* editor = list.EditCell(row, 7);
        ASSERT_NE(editor, nullptr) << table[row].what;
        editor->SetWindowText("note");
        list.EndEdit();
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    list.BatchSetText(ID_BATCH_YEAR, "1999");
    EXPECT_EQ(list.ModifiedTracks().GetCount(), table.size());

    int failures = 0;
    for (const Hostile& h : table)
        failures += h.writeFails;
    EXPECT_EQ(list.WriteTags(), failures);
    EXPECT_EQ(list.ModifiedTracks().GetCount(), static_cast<size_t>(failures));
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(list.GetTrack(static_cast<int>(i))->IsModified(), table[i].writeFails) << table[i].what;
        if (!table[i].writeFails) {
            const CMp3File written(paths[i]);
            EXPECT_EQ(written.GetYear(), "1999") << table[i].what;
            EXPECT_EQ(written.GetComment(), "note") << table[i].what;
        }
    }
    EXPECT_FALSE(FileExists(paths[4])); // a file that went away does not come back as a bare tag
    EXPECT_FALSE(FileExists(longPath));
    EXPECT_EQ(CMp3File(paths[15]).GetGenre(), 200);
    EXPECT_EQ(CMp3File(paths[14]).GetGenre(), 255);

    int renamed = 0;
    for (const Hostile& h : table)
        renamed += h.renamed;

    CNameFormat format("[title]-[artist].mp3");
    format.CompileFormat();
    const RenameRun run = list.RenameSelected(format);
    CloseHandle(held);
    EXPECT_EQ(run.counts[RENAME_DONE], renamed);
    EXPECT_EQ(run.counts[RENAME_SKIPPED], static_cast<int>(table.size()) - renamed);

    // Everything stayed in its folder, renamed or under its old name, with its audio intact.
    EXPECT_EQ(Listing(parent.Path()), parentBefore);
    std::vector<std::string> expected = {"moved2.mp3"};
    for (size_t i = 0; i < table.size(); ++i) {
        const Hostile& h = table[i];
        if (!h.make || h.name == "gone.mp3" || h.name == "moved.mp3")
            continue;
        const std::string now = h.renamed ? h.newName : h.name;
        expected.push_back(now);
        EXPECT_EQ(list.GetItemText(static_cast<int>(i), 0), now) << h.what;
        if (h.name == "x.mp3")
            continue;
        const size_t audioBytes = h.name == "short.mp3" ? 127 : FileSize(dir + now) - ID3V1_SIZE;
        EXPECT_EQ(HashPrefix(dir + now, audioBytes), audio[i]) << h.what;
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listing(dir), expected);
}
