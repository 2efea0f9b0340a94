// Measures what a user meets when Quillfox takes in many files: the memory a row takes, a drop of
// 10,000 files (8-bit and wide names), files that start with an ID3v2 tag, a folder walk, the cost
// of the progress pump, a header click on each column, the time to a window that answers, and with
// BENCH_LARGE=1 how the bulk operations grow from 1,000 to 100,000 rows.
// Each figure stands beside a baseline measured in turns in the same run (best of several rounds),
// so a busy machine slows both alike. The baselines do the least any program must for the same
// result: open each file and read its last 128 bytes, walk the folders with FindFirstFileA, sort
// the same keys with std::sort, start a program that shows one list view.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "BenchClock.h"
#include "BenchHost.h"
#include "app/resource.h"
#include "framework/FrameworkIds.h"
#include "framework/MessageBox.h"
#include "framework/WideText.h"
#include "framework/WinApp.h"
#include "model/GenreTable.h"
#include "model/Id3v1Tag.h"
#include "rename/NameFormat.h"
#include "support/TestFiles.h"
#include "tracklist/TrackListCtrl.h"
#include "view/RunPump.h"
#include "view/TrackView.h"

namespace {

using Paths = std::vector<std::string>;

constexpr int ARTISTS = 10, ALBUMS = 10, PER_ALBUM = 100; // 10,000 files
constexpr int LARGE_ARTISTS = 100;                        // 100,000 files
constexpr int RENAME_ARTISTS = 2;                         // 2,000 files: renaming is slow under Wine
constexpr int LOAD_ROUNDS = 7, REPEATS = 5;

void Line(const std::string& what, double ms, double baseline)
{
    std::printf("  %-56s %8.1f ms %6.2fx\n", what.c_str(), ms, ms / baseline);
    std::fflush(stdout);
}

// ---- sample files -------------------------------------------------------------------------

// A fixed sequence, so every run has the same tags.
uint32_t Random()
{
    static uint32_t state = 20240611u;
    return (state = state * 1664525u + 1013904223u) >> 8;
}

template <size_t N>
const char* Pick(const char* const (&words)[N]) { return words[Random() % N]; }

const char* const Adjectives[] = {"Blue", "Silent", "Golden", "Electric", "Midnight", "Wild", "Hollow", "Neon"};
const char* const Nouns[] = {"River", "Heart", "Highway", "Garden", "Mirror", "Shadow", "Train", "Letter"};
const char* const Artists[] = {"The Quiet Foxes", "Anna Berg", "Northern Lights", "DJ Marrow", "Los Caminos",
                               "Static Bloom", "Kaito Mori", "Brass Republic", "Old Harbour", "aurora drive"};
const char* const Albums[] = {"First Light", "Greatest Hits", "Northbound", "B-Sides", "Open Water", "Signals", ""};
const char* const Comments[] = {"", "", "ripped from CD", "remaster", "live", "radio edit"};

// Tags that differ from file to file; the title carries the file's number, so names built from it
// never collide.
Id3v1Fields SampleFields(unsigned number)
{
    Id3v1Fields f;
    f.title = std::string(Pick(Adjectives)) + " " + Pick(Nouns) + " " + std::to_string(number);
    f.artist = Pick(Artists);
    f.album = Pick(Albums);
    f.year = std::to_string(1960 + Random() % 64);
    f.comment = Pick(Comments);
    f.track = static_cast<int>(Random() % 21);
    f.genre = static_cast<int>(Random() % GENRE_COUNT);
    return f;
}

// A 2.3 frame of UTF-8 text (encoding 3).
std::string Frame(const std::string& id, const std::string& text)
{
    const size_t size = text.size() + 1;
    return id + std::string{0, 0, char(size >> 8), char(size), 0, 0, 3} + text;
}

// An ID3v2.3 tag of a few text frames and padding, about 1.5 KB, as taggers leave them.
std::string Id3v2Tag(const Id3v1Fields& f)
{
    const std::string frames = Frame("TIT2", f.title) + Frame("TPE1", f.artist) + Frame("TALB", f.album) +
                               Frame("TYER", f.year) + Frame("TRCK", std::to_string(f.track)) +
                               Frame("COMM", std::string("eng\0", 4) + std::string(200, 'c'));
    const size_t size = frames.size() + 1200;
    return std::string("ID3\x03\x00\x00", 6) + char(size >> 21 & 0x7F) + char(size >> 14 & 0x7F) +
           char(size >> 7 & 0x7F) + char(size & 0x7F) + frames + std::string(1200, '\0');
}

// Artists [first, last) x ALBUMS x PER_ALBUM files under root (ending in a backslash), in folders as
// a collection keeps them. Each file: an optional ID3v2 tag, one frame of silence, the ID3v1 tag.
Paths WriteTree(const std::string& root, int first, int last, bool id3v2)
{
    static unsigned number = 0;
    CreateDirectoryA(root.c_str(), nullptr);
    Paths paths;
    char name[64];
    for (int artist = first; artist < last; ++artist) {
        std::snprintf(name, sizeof name, "Artist %03d\\", artist);
        CreateDirectoryA((root + name).c_str(), nullptr);
        for (int album = 0; album < ALBUMS; ++album) {
            std::snprintf(name, sizeof name, "Artist %03d\\Album %02d\\", artist, album);
            const std::string folder = root + name;
            CreateDirectoryA(folder.c_str(), nullptr);
            for (int track = 0; track < PER_ALBUM; ++track) {
                std::snprintf(name, sizeof name, "Track %03d.mp3", track);
                paths.push_back(folder + name);
                const Id3v1Fields fields = SampleFields(number++);
                const std::string head = (id3v2 ? Id3v2Tag(fields) : std::string()) + "\xFF\xFB\x90\x64";
                std::vector<unsigned char> bytes(head.begin(), head.end());
                bytes.resize(bytes.size() + MP3_FRAME_SIZE - 4, 0);
                const Id3v1Block tag = EncodeId3v1(fields);
                bytes.insert(bytes.end(), tag.begin(), tag.end());
                WriteBytes(paths.back(), bytes);
            }
        }
    }
    return paths;
}

// ---- bare loops ---------------------------------------------------------------------------

// Opens a file and reads its last 128 bytes, after its first head bytes when asked.
void ReadEnds(const std::string& path, DWORD head = 0)
{
    unsigned char block[ID3V1_SIZE];
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD read = 0;
    if (head > 0)
        ReadFile(file, block, std::min<DWORD>(head, ID3V1_SIZE), &read, nullptr);
    SetFilePointer(file, -static_cast<LONG>(ID3V1_SIZE), nullptr, FILE_END);
    ReadFile(file, block, ID3V1_SIZE, &read, nullptr);
    CloseHandle(file);
}

void BareRead(const Paths& paths, DWORD head = 0)
{
    for (const std::string& path : paths)
        ReadEnds(path, head);
}

// Walks a tree with FindFirstFileA and reads each .mp3 file's tag; returns the files read.
int BareWalk(const std::string& folder)
{
    int files = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::string name = found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != "." && name != "..")
                files += BareWalk(folder + name + "\\");
        } else if (name.size() > 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".mp3") == 0) {
            ReadEnds(folder + name);
            ++files;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

// ---- windows ------------------------------------------------------------------------------

// A fresh, empty track view filling the host, made as the main window makes its own.
std::unique_ptr<CTrackView> MakeView(CBenchHost& host)
{
    auto view = std::make_unique<CTrackView>();
    const RECT client = host.GetClientRect();
    if (!view->CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, client, host, AFX_IDW_PANE_FIRST) ||
        !view->CreateList(host, host, client.right))
        throw std::runtime_error("cannot create a track view");
    Pump();
    return view;
}

// Times load(view) into a fresh view, checks the rows it gave, and destroys the view.
template <class Load>
void TimeLoad(CRounds& rounds, size_t which, CBenchHost& host, size_t rows, Load load)
{
    auto view = MakeView(host);
    rounds.Measure(which, [&] { load(*view); });
    if (static_cast<size_t>(view->List().GetItemCount()) != rows)
        std::printf("  !! %d rows loaded, not %u\n", view->List().GetItemCount(), static_cast<unsigned>(rows));
    view->DestroyWindow();
}

void SelectAll(CTrackListCtrl& list)
{
    for (int row = 0; row < list.GetItemCount(); ++row)
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

// A drop's block as the shell hands it over: the DROPFILES header, then each name ending in a
// zero, and one more zero.
HGLOBAL MakeDrop(const Paths& paths, bool wide)
{
    std::string names;
    for (const std::string& path : paths) {
        if (!wide) {
            names += path + '\0';
            continue;
        }
        const std::wstring name = Widen(path) + L'\0';
        names.append(reinterpret_cast<const char*>(name.data()), name.size() * sizeof(wchar_t));
    }
    names.append(wide ? 2 : 1, '\0');
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = wide;
    std::memcpy(header + 1, names.data(), names.size());
    GlobalUnlock(drop);
    return drop;
}

// Sends the view a click on a column header, as the list's header control would.
void ClickColumn(CTrackView& view, int column)
{
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = view.List();
    nm.hdr.idFrom = IDC_TRACKLIST;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    view.SendMessage(WM_NOTIFY, IDC_TRACKLIST, reinterpret_cast<LPARAM>(&nm));
}

// The time of work(progress) with a pump that shows and pumps from the start, or with none.
template <class Work>
double TimeRun(CBenchHost& host, bool withPump, UINT text, UINT counting, Work work)
{
    return TimeMs([&] {
        if (!withPump)
            return work(nullptr);
        CRunPump pump(host, host, text, counting, 0);
        return work(&pump);
    });
}

// The working set and the private bytes, in KB.
std::pair<double, double> MemoryKB()
{
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return {memory.WorkingSetSize / 1024.0, memory.PagefileUsage / 1024.0};
}

// ---- measurements -------------------------------------------------------------------------

// The working set before this process's first load, and with the rows loaded into a fresh view.
void MeasureMemory(CBenchHost& host, const std::vector<Paths>& sets)
{
    std::printf("Memory (the first loads of this process, each into a fresh view)\n");
    const auto before = MemoryKB();
    std::printf("  before any load: working set %.0f KB, private bytes %.0f KB\n", before.first, before.second);
    for (const Paths& paths : sets) {
        auto view = MakeView(host);
        view->LoadFiles(paths);
        const auto after = MemoryKB();
        const int rows = view->List().GetItemCount();
        std::printf("  with %6d rows: working set %.0f KB, %.2f KB per row; private bytes %.0f KB, %.2f KB per row\n",
                    rows, after.first, (after.first - before.first) / rows, after.second,
                    (after.second - before.second) / rows);
        view->DestroyWindow();
    }
    std::printf("\n");
}

// A WM_DROPFILES sent to the list, from the send to the last row inserted.
void MeasureDrop(CBenchHost& host, const Paths& paths)
{
    enum { BARE, NARROW, WIDE };
    CRounds r(3);
    for (int round = 0; round < LOAD_ROUNDS; ++round) {
        r.Measure(BARE, [&] { BareRead(paths); });
        for (bool wide : {false, true}) {
            const HGLOBAL drop = MakeDrop(paths, wide);
            TimeLoad(r, wide ? WIDE : NARROW, host, paths.size(),
                     [&](CTrackView& view) { view.List().SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop)); });
        }
    }
    std::printf("Dropping %u files on the list (WM_DROPFILES until the last row is in)\n", unsigned(paths.size()));
    Line("bare read loop (open, read the last 128 bytes)", r[BARE], r[BARE]);
    Line("drop, 8-bit names", r[NARROW], r[BARE]);
    Line("drop, wide names", r[WIDE], r[BARE]);
    std::printf("\n");
}

// Files that start with a 1.5 KB ID3v2 tag, beside as many files without one.
void MeasureId3v2(CBenchHost& host, const Paths& tagged, const Paths& plain)
{
    enum { BARE, BARE_HEAD, LOAD, BARE_PLAIN, LOAD_PLAIN };
    CRounds r(5);
    for (int round = 0; round < LOAD_ROUNDS; ++round) {
        r.Measure(BARE, [&] { BareRead(tagged); });
        r.Measure(BARE_HEAD, [&] { BareRead(tagged, 10); });
        TimeLoad(r, LOAD, host, tagged.size(), [&](CTrackView& view) { view.LoadFiles(tagged); });
        r.Measure(BARE_PLAIN, [&] { BareRead(plain); });
        TimeLoad(r, LOAD_PLAIN, host, plain.size(), [&](CTrackView& view) { view.LoadFiles(plain); });
    }
    std::printf("Loading %u files that start with an ID3v2 tag (CTrackView::LoadFiles)\n", unsigned(tagged.size()));
    Line("bare read loop", r[BARE], r[BARE]);
    Line("bare loop reading the first 10 bytes too", r[BARE_HEAD], r[BARE]);
    Line("LoadFiles", r[LOAD], r[BARE]);
    Line("as many files without an ID3v2 tag: bare read loop", r[BARE_PLAIN], r[BARE_PLAIN]);
    Line("as many files without an ID3v2 tag: LoadFiles", r[LOAD_PLAIN], r[BARE_PLAIN]);
    std::printf("\n");
}

// A folder of artists and albums loaded as a dropped folder is, against a bare walk.
void MeasureFolderLoad(CBenchHost& host, const std::string& root, size_t files)
{
    enum { BARE, LOAD };
    CRounds r(2);
    int walked = 0;
    for (int round = 0; round < LOAD_ROUNDS; ++round) {
        r.Measure(BARE, [&] { walked = BareWalk(root); });
        TimeLoad(r, LOAD, host, files, [&](CTrackView& view) { view.LoadFiles({root}); });
    }
    std::printf("Loading a folder: %d artists x %d albums x %d files (%d found by the bare walk)\n", ARTISTS, ALBUMS,
                PER_ALBUM, walked);
    Line("bare walk (FindFirstFileA, open, read the last 128 bytes)", r[BARE], r[BARE]);
    Line("LoadFiles({folder})", r[LOAD], r[BARE]);
    std::printf("\n");
}

// Long runs with a pump that shows and pumps every 50 ms, against the same runs with no progress.
void MeasureProgress(CBenchHost& host, const Paths& paths, const Paths& renameSet)
{
    enum { LOAD, LOAD_PUMP, WRITE, WRITE_PUMP, RENAME, RENAME_PUMP, FIRST_SHOW };
    CRounds r(7);
    int failed = 0, notRenamed = 0;
    CNameFormat byTitle("[title].mp3"), byArtist("[artist] - [title].mp3");
    byTitle.CompileFormat();
    byArtist.CompileFormat();
    // The pump goes first in every other round, so neither side always meets what the other left.
    for (int round = 0; round < LOAD_ROUNDS; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const int withPump = (round + turn) % 2;
            auto view = MakeView(host);
            CTrackListCtrl& list = view->List();
            r.Keep(LOAD + withPump, TimeRun(host, withPump, IDS_PROGRESS_LOADING, IDS_PROGRESS_FINDING,
                                            [&](IRunProgress* p) { list.AddFiles(paths, p); }));
            SelectAll(list);
            list.BatchSetText(ID_BATCH_YEAR, std::to_string(1990 + round));
            r.Keep(WRITE + withPump, TimeRun(host, withPump, IDS_PROGRESS_WRITING, IDS_PROGRESS_WRITING,
                                             [&](IRunProgress* p) { failed += list.WriteTags(p); }));
            view->DestroyWindow();
        }
        r.Measure(FIRST_SHOW, [&] { CRunPump(host, host, IDS_PROGRESS_LOADING, IDS_PROGRESS_FINDING, 0).Step(1, 2); });
    }
    // The two formats take turns, so every run renames every file.
    auto renameView = MakeView(host);
    renameView->List().AddFiles(renameSet);
    for (int round = 0; round < REPEATS; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const int withPump = (round + turn) % 2;
            SelectAll(renameView->List());
            r.Keep(RENAME + withPump, TimeRun(host, withPump, IDS_PROGRESS_RENAMING, IDS_PROGRESS_RENAMING,
                                              [&](IRunProgress* p) {
                const RenameRun run = renameView->List().RenameSelected(turn ? byTitle : byArtist, p);
                notRenamed += static_cast<int>(renameSet.size()) - run.counts[RENAME_DONE];
            }));
        }
    }
    renameView->DestroyWindow();
    std::printf("The progress pump (shown at once, pumping every 50 ms) against no progress (nullptr)\n");
    std::printf("  %-36s %14s %14s %9s\n", "", "no progress", "with the pump", "overhead");
    const std::string what[3] = {"AddFiles of " + std::to_string(paths.size()) + " files",
                                 "WriteTags of " + std::to_string(paths.size()) + " changed tags",
                                 "RenameSelected of " + std::to_string(renameSet.size()) + " files"};
    for (int pair = 0; pair < 3; ++pair)
        std::printf("  %-36s %11.1f ms %11.1f ms %+8.1f%%\n", what[pair].c_str(), r[2 * pair], r[2 * pair + 1],
                    (r[2 * pair + 1] / r[2 * pair] - 1) * 100);
    std::printf("  a pump made and shown once, alone: %.1f ms\n", r[FIRST_SHOW]);
    if (failed > 0 || notRenamed != 0)
        std::printf("  !! %d tag writes failed, %d files were not renamed\n", failed, notRenamed);
    std::printf("\n");
}

// The keys a plain sort of the rows would use: the text as lower-case UTF-16, or the track number.
struct SortKeys
{
    std::vector<std::wstring> text;
    std::vector<int> numbers;
    void Sort()
    {
        std::sort(text.begin(), text.end());
        std::sort(numbers.begin(), numbers.end());
    }
    bool Sorted() const { return std::is_sorted(text.begin(), text.end()) && std::is_sorted(numbers.begin(), numbers.end()); }
};

SortKeys KeysOf(const CTrackListCtrl& list, int column)
{
    SortKeys keys;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        const CMp3File* track = list.GetTrack(row);
        if (column == CTrackListCtrl::COL_TRACK) {
            keys.numbers.push_back(track->GetTrack());
            continue;
        }
        std::wstring key = Widen(column == CTrackListCtrl::COL_FILENAME ? track->GetPath() : list.GetItemText(row, column));
        CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
        keys.text.push_back(std::move(key));
    }
    return keys;
}

// A header click on each column in turn, against std::sort of the keys in the order the click met.
void MeasureSort(CBenchHost& host, const Paths& paths)
{
    constexpr int COLUMNS = CTrackListCtrl::COLUMN_COUNT;
    static const char* const names[COLUMNS] = {"File Name", "Title", "Artist", "Album", "Genre", "Year", "Track", "Comment"};
    auto view = MakeView(host);
    CTrackListCtrl& list = view->List();
    view->LoadFiles(paths);
    CTrackListCtrl::s_sortColumn = -1; // clicks on one column after another all sort ascending
    CRounds r(2 * COLUMNS);
    bool ordered = true;
    for (int round = 0; round < REPEATS; ++round) {
        for (int column = 0; column < COLUMNS; ++column) {
            SortKeys keys = KeysOf(list, column);
            r.Measure(2 * column, [&] { keys.Sort(); });
            r.Measure(2 * column + 1, [&] { ClickColumn(*view, column); });
            Pump();
            ordered = ordered && KeysOf(list, column).Sorted();
        }
    }
    const double n = list.GetItemCount();
    std::printf("Sorting %d rows (a header click, against std::sort of the same keys)\n", list.GetItemCount());
    std::printf("  %-10s %9s %9s %7s %19s %16s\n", "column", "click ms", "bare ms", "ratio", "collection sort ms",
                "comp/(n log2 n)");
    // The same sorts once more from the same orders, on the collection alone (timed once), to count
    // comparisons; they end in the order the list shows.
    for (int column = 0; column < COLUMNS; ++column) {
        size_t comparisons = 0;
        const double alone = TimeMs([&] {
            comparisons = list.Tracks().Sort(column ? static_cast<TagField>(column - 1) : TF_NONE, true);
        });
        std::printf("  %-10s %9.1f %9.1f %6.1fx %19.1f %16.2f\n", names[column], r[2 * column + 1], r[2 * column],
                    r[2 * column + 1] / r[2 * column], alone, static_cast<double>(comparisons) / (n * std::log2(n)));
    }
    if (!ordered)
        std::printf("  !! a click left the rows out of order\n");
    std::printf("\n");
    view->DestroyWindow();
}

// Whether a group is measured: all of them, or those BENCH_ONLY names (a comma list such as
// "sort,startup"), for a quicker look at one figure.
bool Chosen(const char* group)
{
    const char* only = std::getenv("BENCH_ONLY");
    if (!only || !*only)
        return true;
    const std::string list = "," + std::string(only) + ",";
    return list.find("," + std::string(group) + ",") != std::string::npos;
}

// From CreateProcess to a shown window titled title whose thread answers a sent message; the
// program is closed again. -1 when no window answered within a minute.
double StartupMs(const std::string& exe, const char* title, const char* arguments = "")
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + exe + "\" " + arguments;
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    double ms = -1;
    HWND window = nullptr;
    while (ms < 0 && Now() - start < 60000) {
        window = FindWindowA(nullptr, title);
        DWORD owner = 0;
        DWORD_PTR answer = 0;
        if (window)
            GetWindowThreadProcessId(window, &owner);
        if (owner == process.dwProcessId && IsWindowVisible(window) &&
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer))
            ms = Now() - start;
        else
            Sleep(1);
    }
    if (ms >= 0)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        std::printf("  !! %s did not end within 20 s of WM_CLOSE\n", exe.c_str());
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ms;
}

// The program against a minimal one that shows a list view; both are built beside the benchmark.
void MeasureStartup()
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder = self;
    folder.erase(folder.rfind('\\') + 1);
    enum { PROBE, FURNISHED, PROGRAM };
    CRounds r(3);
    int missed = 0;
    for (int round = 0; round < 5; ++round) {
        for (int which : {PROBE, FURNISHED, PROGRAM}) {
            const double ms =
                which == PROBE       ? StartupMs(folder + "startup_probe.exe", "Quillfox startup probe")
                : which == FURNISHED ? StartupMs(folder + "startup_probe.exe", "Quillfox startup probe, furnished",
                                                 "/furnished")
                                     : StartupMs(folder + "..\\Quillfox.exe", "Quillfox");
            if (ms < 0)
                ++missed;
            else
                r.Keep(which, ms);
        }
    }
    std::printf("Start-up: from CreateProcess to a shown window that answers a sent message\n");
    Line("minimal program (one window, one list view)", r[PROBE], r[PROBE]);
    Line("the same with Quillfox's menu, bars, columns", r[FURNISHED], r[PROBE]);
    Line("Quillfox.exe", r[PROGRAM], r[PROBE]);
    std::printf("  Quillfox against the furnished minimal program: %.2fx\n", r[PROGRAM] / r[FURNISHED]);
    if (missed > 0)
        std::printf("  !! %d starts showed no answering window\n", missed);
    std::printf("\n");
}

// Load, sort, select all, group edit and Close of all rows at 1,000, 10,000 and 100,000 rows.
void MeasureScale(CBenchHost& host, const Paths& all)
{
    enum { BARE, LOAD, SORT, SELECT, EDIT, CLOSE, OPS };
    static const char* const names[OPS] = {"bare read loop", "load (LoadFiles)", "sort by Title (click)",
                                           "Edit > Select All", "group edit of the Year", "File > Close"};
    const size_t sizes[] = {1000, 10000, all.size()};
    double perRow[3][OPS];
    for (int s = 0; s < 3; ++s) {
        const Paths paths(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(sizes[s]));
        CRounds r(OPS);
        for (int round = 0; round < REPEATS; ++round) {
            r.Measure(BARE, [&] { BareRead(paths); });
            auto view = MakeView(host);
            CTrackListCtrl& list = view->List();
            r.Measure(LOAD, [&] { view->LoadFiles(paths); });
            CTrackListCtrl::s_sortColumn = -1;
            r.Measure(SORT, [&] { ClickColumn(*view, CTrackListCtrl::COL_TITLE); });
            r.Measure(SELECT, [&] { view->SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL); });
            r.Measure(EDIT, [&] { list.BatchSetText(ID_BATCH_YEAR, "1999"); });
            list.UndoLastChange(); // unchanged rows close without a question each
            SelectAll(list);
            r.Measure(CLOSE, [&] { view->SendMessage(WM_COMMAND, ID_FILE_CLOSE); });
            if (list.GetItemCount() != 0)
                std::printf("  !! %d rows left after File > Close\n", list.GetItemCount());
            view->DestroyWindow();
        }
        for (int op = 0; op < OPS; ++op)
            perRow[s][op] = r[static_cast<size_t>(op)] * 1000.0 / static_cast<double>(sizes[s]);
    }
    std::printf("Growth with the row count (microseconds per row; ratio to the time per row at 10,000)\n");
    std::printf("  %-24s %9u %9u %9u %9s %9s\n", "", unsigned(sizes[0]), unsigned(sizes[1]), unsigned(sizes[2]),
                "1k/10k", "100k/10k");
    for (int op = 0; op < OPS; ++op)
        std::printf("  %-24s %9.1f %9.1f %9.1f %8.2fx %8.2fx\n", names[op], perRow[0][op], perRow[1][op],
                    perRow[2][op], perRow[0][op] / perRow[1][op], perRow[2][op] / perRow[1][op]);
    std::printf("\n");
}

} // namespace

int main()
{
    // As the program starts: the progress pump asks COM for the taskbar button.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    CWinApp app("Quillfox");
    int boxes = 0; // a box would stop an unattended run: each is counted and answered
    SetMessageBoxHandler([&boxes](HWND, const std::string& text, const std::string&, UINT) {
        std::printf("  !! message box: %s\n", text.c_str());
        ++boxes;
        return IDOK;
    });
    CBenchHost host;
    if (!host.Open("Quillfox wave benchmark")) {
        std::printf("cannot create the host window\n");
        return 1;
    }
    const char* largeSwitch = std::getenv("BENCH_LARGE");
    const bool large = largeSwitch && *largeSwitch && std::strcmp(largeSwitch, "0") != 0;
    try {
        CTempDir temp;
        std::printf("Quillfox wave benchmark (best of %d rounds, %d for loading; each figure of a group is measured\n"
                    "in turn with its baseline)%s\n", REPEATS, LOAD_ROUNDS, large ? ", with 100,000 files" : "");
        Paths plain, all, tagged, renameSet;
        const double written = TimeMs([&] {
            all = plain = WriteTree(temp / "plain\\", 0, ARTISTS, false);
            if (large) {
                const Paths more = WriteTree(temp / "large\\", ARTISTS, LARGE_ARTISTS, false);
                all.insert(all.end(), more.begin(), more.end());
            }
            tagged = WriteTree(temp / "tagged\\", 0, ARTISTS, true);
            renameSet = WriteTree(temp / "rename\\", 0, RENAME_ARTISTS, false);
        });
        std::printf("  (wrote %u sample files in %.0f ms)\n\n", unsigned(all.size() + tagged.size() + renameSet.size()),
                    written);
        if (Chosen("memory")) // first: no load before
            MeasureMemory(host, large ? std::vector<Paths>{plain, all} : std::vector<Paths>{plain});
        if (Chosen("drop"))
            MeasureDrop(host, plain);
        if (Chosen("id3v2"))
            MeasureId3v2(host, tagged, plain);
        if (Chosen("folder"))
            MeasureFolderLoad(host, temp / "plain\\", plain.size());
        if (Chosen("progress"))
            MeasureProgress(host, plain, renameSet);
        if (Chosen("sort"))
            MeasureSort(host, plain);
        if (Chosen("startup"))
            MeasureStartup();
        if (large && Chosen("scale"))
            MeasureScale(host, all);
    } catch (const std::exception& e) {
        std::printf("stopped: %s\n", e.what());
        return 1;
    }
    if (boxes > 0)
        std::printf("%d message boxes would have shown\n", boxes);
    host.Close();
    return boxes > 0 ? 1 : 0;
}
