#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "app/CommandLine.h"
#include "app/resource.h"
#include "model/PathText.h"
#include "support/DialogDriver.h"
#include "support/FrameFixture.h"
#include "support/TestFiles.h"
#include "tracklist/TrackCollection.h"

namespace {

std::vector<std::string> NamesOf(const CTrackCollection& tracks, const std::string& root)
{
    std::vector<std::string> names;
    for (size_t row = 0; row < tracks.Count(); ++row)
        names.push_back(tracks.At(row)->GetPath().substr(root.size()));
    return names;
}

void MakeFolder(const std::string& path, DWORD attributes = 0)
{
    CreateDirectoryA(path.c_str(), nullptr);
    if (attributes)
        SetFileAttributesA(path.c_str(), attributes);
}

// A link inside a folder back to the folder itself, by whatever means this system has.
bool MakeLoop(const std::string& link, const std::string& target)
{
    using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    const auto create = reinterpret_cast<CreateLink>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    return create && create(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
}

} // namespace

// Files first, then subfolders, in Explorer's order; what is no song is passed over, and no
// folder is walked twice.
TEST(FolderWalk, TakesEachMp3OnceInExplorersOrder)
{
    CTempDir dir;
    const std::string root = dir / "music\\";
    MakeFolder(root);
    for (const char* folder : {"B", "a", "a\\2", "a\\10", "x.mp3", "hidden"})
        MakeFolder(root + folder);
    SetFileAttributesA((root + "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (const char* file : {"10.mp3", "2.MP3", "cover.jpg", "a\\s.mp3", "a\\10\\t.mp3", "a\\2\\u.mp3",
                             "B\\v.mp3", "x.mp3\\w.mp3", "hidden\\h.mp3", "._z.mp3"})
        WriteMp3(root + file, 1);
    SetFileAttributesA((root + "._z.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN);
    const bool loop = MakeLoop(root + "a\\loop", root);

    CTrackCollection tracks;
    const LoadResult loaded = tracks.Load({root, root + "a\\s.mp3", root + "B"});
    EXPECT_EQ(NamesOf(tracks, root), (std::vector<std::string>{"2.MP3", "10.mp3", "a\\s.mp3", "a\\2\\u.mp3",
                                                               "a\\10\\t.mp3", "B\\v.mp3", "x.mp3\\w.mp3"}));
    EXPECT_EQ(loaded.rejected, 0);
    EXPECT_EQ(loaded.duplicates, 1); // a\s.mp3 met again; B, walked already, is not walked again
    EXPECT_FALSE(loaded.stopped);
    if (!loop)
        std::printf("(no link loop: this system made no symbolic link)\n");

    // The same folder again, spelled another way: nothing new.
    const LoadResult again = tracks.Load({dir.Path() + "MUSIC\\a\\..\\"});
    EXPECT_EQ(again.added, 0u);
    EXPECT_EQ(again.duplicates, 7);
}

TEST(CommandLine, GivesFullPathsOfQuotedAndRelativeWords)
{
    CTempDir dir;
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    SetCurrentDirectoryA(dir.Path().c_str());
    const std::vector<std::string> paths =
        PathsOnCommandLine(L"\"C:\\Program Files\\Quillfox.exe\" a.mp3 \"two words\\b c.mp3\" sub\\ \"\"");
    SetCurrentDirectoryA(before);
    EXPECT_EQ(paths, (std::vector<std::string>{dir / "a.mp3", dir / "two words\\b c.mp3", dir / "sub\\"}));
    EXPECT_TRUE(PathsOnCommandLine(L"Quillfox.exe").empty());
}

namespace {

class LongRunTest : public FrameFixture
{
protected:
    CTrackView& View() { return frame->View(); }
    std::vector<std::string> Songs(int count)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            paths.push_back(dir / ("s" + std::to_string(i) + ".mp3"));
            WriteMp3(paths.back(), 1, TagBytes().Put(TITLE, "T" + std::to_string(i)).Put(ARTIST, "A"));
        }
        return paths;
    }
    // Esc waits in the queue: the run's first look at its messages stops it.
    void PressEscDuringTheRun()
    {
        View().m_nProgressDelayMs = 0;
        List().PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    }
    void SelectAll()
    {
        for (int row = 0; row < List().GetItemCount(); ++row)
            List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
};

} // namespace

TEST_F(LongRunTest, DropOfFilesAndFoldersSaysOnceWhatWasNoMp3AndWhatWasThere)
{
    Songs(2);
    MakeFolder(dir / "sub");
    WriteMp3(dir / "sub\\x.mp3", 1);
    boxes.Answer(IDOK);
    View().LoadFiles({dir / "s0.mp3", dir / "notes.txt", dir / "sub", dir / "cover.jpg"});
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "One or more files were not valid MP3 files. They were not added.");
    EXPECT_EQ(StatusText(), "2 files loaded");

    View().LoadFiles({dir.Path()});
    EXPECT_EQ(List().GetItemCount(), 3);
    EXPECT_EQ(StatusText(), "3 files loaded (2 already in the list)");
    View().LoadFiles({dir / "s1.mp3"});
    EXPECT_EQ(StatusText(), "3 files loaded (1 already in the list)");
}

TEST_F(LongRunTest, StoppedLoadKeepsTheRowsLoadedAndSaysNoMore)
{
    std::vector<std::string> paths = Songs(5);
    paths.insert(paths.begin() + 1, dir / "notes.txt");
    PressEscDuringTheRun();
    View().LoadFiles(paths);
    EXPECT_EQ(List().GetItemCount(), 1);
    EXPECT_EQ(List().Tracks().Count(), 1u);
    EXPECT_EQ(List().GetItemText(0, 1), "T0");
    EXPECT_EQ(StatusText(), "1 files loaded");
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(LongRunTest, StoppedRenameRenamesWhatItReachedAndSaysHowManyItDidNot)
{
    List().AddFiles(Songs(4));
    SelectAll();
    boxes.Answer(IDYES);
    boxes.Answer(IDOK);
    PressEscDuringTheRun();
    frame->SendMessage(WM_COMMAND, ID_FILE_RENAME);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_NE(boxes.Shown()[1].text.find("\t 1 files renamed."), std::string::npos);
    EXPECT_NE(boxes.Shown()[1].text.find("\n\nStopped before 3 files."), std::string::npos);
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"T0-A.mp3", "s1.mp3", "s2.mp3", "s3.mp3"}));
    EXPECT_EQ(List().GetSelectedCount(), 3);
}

TEST_F(LongRunTest, StoppedWriteKeepsTheRestModifiedAndReportsNothing)
{
    List().AddFiles(Songs(3));
    SelectAll();
    List().BatchSetText(ID_BATCH_ALBUM, "New");
    boxes.Answer(IDYES);
    PressEscDuringTheRun();
    frame->SendMessage(WM_COMMAND, ID_FILE_WRITETAGS);
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(List().ModifiedTracks().GetCount(), 2u);
    EXPECT_EQ(CMp3File(dir / "s0.mp3").GetAlbum(), "New");
    EXPECT_EQ(CMp3File(dir / "s1.mp3").GetAlbum(), "");
}

// Closing asks during a run; No lets it go on, Yes stops it and closing goes on as usual.
TEST_F(LongRunTest, ClosingDuringARunAsksFirst)
{
    const std::vector<std::string> paths = Songs(3);
    View().m_nProgressDelayMs = 0;
    frame->PostMessage(WM_CLOSE);
    boxes.Answer(IDNO);
    View().LoadFiles(paths);
    EXPECT_EQ(List().GetItemCount(), 3);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Quillfox is still working. Stop and close?");
    EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));

    List().DeleteAllTracks();
    frame->PostMessage(WM_CLOSE);
    boxes.Answer(IDYES);
    View().LoadFiles(paths);
    EXPECT_EQ(List().GetItemCount(), 1);
    PumpMessages(); // the close that waited for the run
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

TEST_F(LongRunTest, AddFolderLoadsThePickedFolderAndOffersItNextTime)
{
    Songs(2);
    WriteProfileString("Options", "AddFolder", "");
    CDialogDriver driver;
    driver.Then([this](HWND dialog) {
        // The picker's name box takes a folder's path, as a user may type it.
        HWND edit = FindWindowExA(dialog, nullptr, "Edit", nullptr);
        if (!edit)
            edit = GetDlgItem(dialog, 0x480);
        SetWindowTextA(edit, dir.Path().c_str());
        ClickButton(dialog, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_FILE_ADDFOLDER);
    EXPECT_EQ(List().GetItemCount(), 2);
    std::string stored = GetProfileString("Options", "AddFolder", "");
    if (!stored.empty() && stored.back() != '\\')
        stored += '\\';
    EXPECT_EQ(stored, dir.Path());
}

// A drop in the wide form, as Explorer makes it: names in any script, a folder among them.
TEST_F(LongRunTest, WideDropOfNamesInAnyScriptLoadsFilesAndFolders)
{
    const std::string folder = dir / u8"\u041f\u0430\u043f\u043a\u0430";
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteMp3(folder + u8"\\\u03c4\u03c1\u03b1\u03b3.mp3", 1);
    WriteMp3(dir / u8"\u66f2\U0001F3B5.mp3", 1);
    std::wstring names;
    for (const std::string& path : {folder, dir / u8"\u66f2\U0001F3B5.mp3"}) {
        const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<size_t>(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &wide[0], length);
        names += wide; // with its zero
    }
    names += L'\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    List().SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(memory));
    ASSERT_EQ(List().GetItemCount(), 2);
    EXPECT_EQ(List().GetItemText(0, 0), u8"\u03c4\u03c1\u03b1\u03b3.mp3");
    EXPECT_EQ(List().GetItemText(1, 0), u8"\u66f2\U0001F3B5.mp3");
    EXPECT_EQ(StatusText(), "2 files loaded");
}

// The run's progress speaks of a count while folders are still walked, of a total otherwise.
TEST_F(TrackListFixture, ProgressSaysHowFarALoadHasCome)
{
    CreateDirectoryA((dir / "sub").c_str(), nullptr);
    WriteMp3(dir / "sub\\a.mp3", 1);
    WriteMp3(dir / "b.mp3", 1);
    view.m_nProgressDelayMs = 0;
    view.LoadFiles({dir / "sub"});
    view.LoadFiles({dir / "b.mp3", dir / "sub\\a.mp3"});
    ASSERT_GE(host.m_messages.size(), 2u);
    EXPECT_EQ(host.m_messages[0], "Loading 1 files. Press Esc to stop.");
    EXPECT_EQ(host.m_messages[1], "Loading 1 of 2 files. Press Esc to stop.");
    EXPECT_EQ(host.m_fileCounts, (std::vector<int>{1, 2}));
    EXPECT_EQ(FormatCount(1234567), "1,234,567"); // as the user's locale (here English) writes it
}
