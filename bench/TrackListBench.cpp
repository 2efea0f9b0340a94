// Measures the track list against bare Win32 file loops run in the same process: loading files,
// sorting by each column, writing tags, and how loading and sorting grow with the row count.
// Every figure is a ratio to a baseline taken in the same run, so a busy machine shifts both.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchHost.h"
#include "app/resource.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "model/GenreTable.h"
#include "model/Id3v1Tag.h"
#include "model/Mp3File.h"
#include "model/PathText.h"
#include "support/TestFiles.h"
#include "rename/NameFormat.h"
#include "tracklist/TrackListCtrl.h"
#include "view/TrackView.h"

namespace {

constexpr int MAIN_ROWS = 10000;
constexpr int SMALL_ROWS = 1000;
constexpr int LARGE_ROWS = 30000;
constexpr int REPEATS = 3;
constexpr int LOAD_ROUNDS = 5; // loading varies most on a busy machine
constexpr int ICON_SAMPLES = 20;

// ---- sample files -------------------------------------------------------------------------

// A small deterministic generator, so every run sorts the same data.
class CRandom
{
public:
    explicit CRandom(uint32_t seed) : m_state(seed) {}
    uint32_t Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    const char* Pick(const char* const* words, size_t count) { return words[Next() % count]; }

private:
    uint32_t m_state;
};

const char* const Adjectives[] = {"Blue", "Silent", "Broken", "Golden", "Electric", "Midnight",
    "Lonely", "Wild", "Crimson", "Hollow", "Endless", "Burning", "Frozen", "Secret", "Paper",
    "Velvet", "Distant", "Neon", "Quiet", "Restless"};
const char* const Nouns[] = {"River", "Heart", "Highway", "Summer", "Garden", "Mirror", "Ocean",
    "Shadow", "Train", "Window", "Dream", "Fire", "Letter", "Horizon", "Angel", "Machine", "Rain",
    "Station", "Moon", "Stranger", "Road", "Island", "Echo", "Lantern"};
const char* const Artists[] = {"The Quiet Foxes", "Anna Berg", "Northern Lights", "DJ Marrow",
    "Los Caminos", "Tom Avery", "Static Bloom", "Ella Marsh", "The Paper Kites of Dover",
    "Kaito Mori", "Brass Republic", "Juno Vale", "Old Harbour", "Mia Kovac", "Seven Wires",
    "Lucas Dorn", "Velvet Engine", "Nora Quill", "The Late Shift", "Arlo & the Owls",
    "Sable Coast", "Ivy Chen", "Glass Animals Tribute", "Hector Ruiz", "Moonlit Sailors",
    "aurora drive", "Zed Parker", "Chorus Line", "Frank Holloway", "Polar Tides"};
const char* const Albums[] = {"First Light", "Greatest Hits", "Live at the Roxy", "Northbound",
    "Songs for Nobody", "B-Sides", "Weathervane", "Open Water", "The Long Way Home", "Neon Nights",
    "Acoustic Sessions", "Paper Moons", "Signals", "Low Tide", "Hinterland", ""};
const char* const Comments[] = {"", "", "", "ripped from CD", "remaster", "demo version",
    "live", "radio edit", "bonus track", "www.example.com"};

// An ID3v1 tag with fields that differ from file to file.
Id3v1Block MakeTag(CRandom& random, unsigned number)
{
    Id3v1Fields f;
    f.title = std::string(random.Pick(Adjectives, std::size(Adjectives))) + " " +
              random.Pick(Nouns, std::size(Nouns)) + " " + std::to_string(number % 97);
    f.artist = random.Pick(Artists, std::size(Artists));
    f.album = random.Pick(Albums, std::size(Albums));
    f.year = std::to_string(1960 + random.Next() % 64);
    f.comment = random.Pick(Comments, std::size(Comments));
    f.track = static_cast<int>(random.Next() % 21); // 0: no track number
    const uint32_t genre = random.Next() % 160;
    f.genre = genre < GENRE_COUNT ? static_cast<int>(genre) : GENRE_NONE;
    return EncodeId3v1(f);
}

// A fresh folder under the temporary folder, emptied and removed at the end.
class CSampleFolder
{
public:
    CSampleFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        for (unsigned n = 0;; ++n) {
            m_path = std::string(temp) + "quillfox_bench_" + std::to_string(GetCurrentProcessId()) +
                     "_" + std::to_string(n);
            if (CreateDirectoryA(m_path.c_str(), nullptr))
                break;
            if (GetLastError() != ERROR_ALREADY_EXISTS) {
                m_path.clear();
                return;
            }
        }
        m_path += "\\";
    }
    ~CSampleFolder()
    {
        for (const std::string& file : m_files)
            DeleteFileA(file.c_str());
        if (!m_path.empty())
            RemoveDirectoryA(m_path.c_str());
    }
    CSampleFolder(const CSampleFolder&) = delete;
    CSampleFolder& operator=(const CSampleFolder&) = delete;

    bool IsValid() const { return !m_path.empty(); }

    // Writes count more files. Their names follow a permutation of their numbers, so the file
    // name column is not already in load order.
    bool AddFiles(int count, std::vector<std::string>& paths)
    {
        const unsigned first = static_cast<unsigned>(m_files.size());
        for (int i = 0; i < count; ++i) {
            const unsigned number = first + static_cast<unsigned>(i);
            const unsigned nameNumber = first + (static_cast<unsigned>(i) * 7919u) % static_cast<unsigned>(count);
            char name[64];
            std::snprintf(name, sizeof name, "%s %06u.mp3", m_random.Pick(Artists, std::size(Artists)),
                          nameNumber);
            const std::string path = m_path + name;
            if (FileExists(path))
                return false;
            m_files.push_back(path);
            const Id3v1Block tag = MakeTag(m_random, number);
            try {
                WriteMp3(path, 1, &tag); // one frame of silence, then the tag
            } catch (const std::exception&) {
                return false;
            }
            paths.push_back(path);
        }
        return true;
    }

private:
    std::string m_path;
    std::vector<std::string> m_files;
    CRandom m_random{20240611u};
};

// ---- bare loops ---------------------------------------------------------------------------

// The least any loader must do: open each file and read its last 128 bytes.
void BareReadLoop(const std::vector<std::string>& paths)
{
    unsigned char block[ID3V1_SIZE];
    for (const std::string& path : paths) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        DWORD read = 0;
        SetFilePointer(file, -static_cast<LONG>(ID3V1_SIZE), nullptr, FILE_END);
        ReadFile(file, block, ID3V1_SIZE, &read, nullptr);
        CloseHandle(file);
    }
}

// The least any tag writer must do: open for writing, read the old tag, write the new one.
void BareWriteLoop(const std::vector<std::string>& paths)
{
    unsigned char block[ID3V1_SIZE];
    for (const std::string& path : paths) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        DWORD done = 0;
        SetFilePointer(file, -static_cast<LONG>(ID3V1_SIZE), nullptr, FILE_END);
        ReadFile(file, block, ID3V1_SIZE, &done, nullptr);
        SetFilePointer(file, -static_cast<LONG>(ID3V1_SIZE), nullptr, FILE_END);
        WriteFile(file, block, ID3V1_SIZE, &done, nullptr);
        CloseHandle(file);
    }
}

// ---- windows ------------------------------------------------------------------------------

// The track list with the few extra handles the measurements need.
class CBenchList : public CTrackListCtrl
{
public:
    // Marks every track changed, as cell edits will. The text stays the same, so later runs
    // sort the same data.
    void MarkAllModified()
    {
        const int count = GetItemCount();
        for (int row = 0; row < count; ++row) {
            CMp3File* track = GetTrack(row);
            if (!track)
                continue;
            track->SetTitle(track->GetTitle());
            Tracks().MarkModified(track);
        }
    }

    // Puts a stock icon in the row image list, so loading finds its one icon already there.
    void PreloadIcon() { m_imageList.Add(LoadIcon(nullptr, IDI_APPLICATION)); }

    // Sorts the records as a header click does; returns the comparisons made.
    long SortCounting(int column)
    {
        return static_cast<long>(Tracks().Sort(static_cast<TagField>(column - 1), true));
    }
};

double WorkingSetMB()
{
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
}

// Destroys the list and its tracks.
void DropList(std::unique_ptr<CBenchList>& list)
{
    if (!list)
        return;
    list->DeleteAllTracks();
    list.reset(); // destroys the window
    Pump();
}

// A fresh, empty list filling the host, as the main window makes it.
std::unique_ptr<CBenchList> MakeList(CBenchHost& host, std::unique_ptr<CBenchList>& old)
{
    DropList(old);
    auto list = std::make_unique<CBenchList>();
    const RECT client = host.GetClientRect();
    if (!list->Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, client, host, IDC_TRACKLIST))
        return nullptr;
    TrackListSetup setup;
    setup.widthForColumns = client.right;
    list->InitList(setup);
    Pump();
    return list;
}

// Sends the host a click on a column header, as the header control would.
void ClickColumn(CBenchHost& host, CTrackListCtrl& list, int column)
{
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = list;
    nm.hdr.idFrom = IDC_TRACKLIST;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    host.SendMessage(WM_NOTIFY, IDC_TRACKLIST, reinterpret_cast<LPARAM>(&nm));
}

// Case-insensitive for A to Z only, as the list's own comparison is.
int FoldedCompare(const std::string& a, const std::string& b)
{
    auto fold = [](char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        return u >= 'A' && u <= 'Z' ? u - 'A' + 'a' : static_cast<int>(u);
    };
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (fold(a[i]) != fold(b[i]))
            return fold(a[i]) < fold(b[i]) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool InAscendingTitleOrder(const CTrackListCtrl& list)
{
    const int count = list.GetItemCount();
    for (int row = 1; row < count; ++row) {
        if (FoldedCompare(list.GetTrack(row - 1)->GetTitle(), list.GetTrack(row)->GetTitle()) > 0)
            return false;
    }
    return true;
}

// ---- measuring ----------------------------------------------------------------------------

void Line(const char* what, double ms, double baseline = 0)
{
    if (baseline > 0)
        std::printf("  %-46s %9.1f ms  %6.2fx\n", what, ms, ms / baseline);
    else
        std::printf("  %-46s %9.1f ms\n", what, ms);
    std::fflush(stdout);
}

const char* const ColumnNames[CTrackListCtrl::COLUMN_COUNT] = {
    "File Name", "Title", "Artist", "Album", "Genre", "Year", "Track", "Comment"};

// One ExtractAssociatedIconA call as the list makes it: the time, whether an icon came, and
// where the call says the icon is (it names a module when it falls back to one).
struct IconLookup
{
    double ms = 0;
    bool found = false;
    std::string source;
    WORD index = 0;
};

IconLookup LookUpIcon(const std::string& path)
{
    IconLookup lookup;
    char buffer[256]; // the call may write a module path into it
    lstrcpynA(buffer, path.c_str(), sizeof buffer);
    HICON icon = nullptr;
    lookup.ms = TimeMs([&] { icon = ExtractAssociatedIconA(GetModuleHandleA(nullptr), buffer, &lookup.index); });
    lookup.found = icon != nullptr;
    lookup.source = buffer;
    if (icon)
        DestroyIcon(icon);
    return lookup;
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    CWinApp app("Quillfox");

    // A box would stop an unattended run; count any that would have shown.
    int boxes = 0;
    SetMessageBoxHandler([&boxes](HWND, const std::string& text, const std::string&, UINT) {
        if (text.rfind("Rename Complete:", 0) == 0)
            return IDOK; // the one summary of a rename run is part of what is measured
        ++boxes;
        std::printf("  message box: %s\n", text.c_str());
        return IDOK;
    });

    CBenchHost host;
    if (!host.Open("Quillfox benchmark")) {
        std::printf("cannot create the host window\n");
        return 1;
    }

    CSampleFolder folder;
    if (!folder.IsValid()) {
        std::printf("cannot create a temporary folder\n");
        return 1;
    }
    std::vector<std::string> paths;
    std::printf("Quillfox track list benchmark (best of %d rounds, %d for loading; in each round every\n"
                "figure of a group is measured in turn, so the ratios compare times taken side by side)\n",
                REPEATS, LOAD_ROUNDS);
    const double written = TimeMs([&] { folder.AddFiles(MAIN_ROWS, paths); });
    if (static_cast<int>(paths.size()) != MAIN_ROWS) {
        std::printf("cannot write the sample files\n");
        return 1;
    }
    std::printf("  (wrote %d sample files in %.0f ms)\n\n", MAIN_ROWS, written);
    std::fflush(stdout);

    // ---- loading
    const double baselineMB = WorkingSetMB();
    BareReadLoop(paths); // warms the file cache
    std::unique_ptr<CBenchList> list;
    enum { BARE, LOAD, LOAD_ICON };
    CRounds load(3);
    for (int round = 0; round < LOAD_ROUNDS; ++round) {
        load.Measure(BARE, [&] { BareReadLoop(paths); });
        list = MakeList(host, list);
        list->PreloadIcon();
        load.Measure(LOAD_ICON, [&] { list->AddFiles(paths); });
        list = MakeList(host, list);
        load.Measure(LOAD, [&] { list->AddFiles(paths); });
    }
    const int loadedRows = list->GetItemCount();
    std::printf("Loading %d files (ratio to the bare read loop)\n", MAIN_ROWS);
    Line("bare read loop", load[BARE], load[BARE]);
    Line("AddFiles into a fresh list", load[LOAD], load[BARE]);
    std::printf("  rows in the list: %d\n", loadedRows);
    const double loadedMB = WorkingSetMB();
    std::printf("  working set: %.1f MB before loading, %.1f MB with the rows loaded (%.2f KB per row)\n\n",
                baselineMB, loadedMB, (loadedMB - baselineMB) * 1024.0 / loadedRows);

    // ---- sorting: one header click per column, in column order, so each sort is ascending
    std::printf("Sorting %d rows (one header click each)\n", loadedRows);
    CTrackListCtrl::s_sortColumn = -1;
    for (int column = 0; column < CTrackListCtrl::COLUMN_COUNT; ++column) {
        const double ms = TimeMs([&] { ClickColumn(host, *list, column); });
        Pump();
        Line((std::string("sort by ") + ColumnNames[column]).c_str(), ms);
    }
    std::printf("\n");

    // ---- writing
    BareWriteLoop(paths);
    enum { BARE_WRITE, WRITE_TAGS };
    CRounds write(2);
    size_t unwritten = 0;
    for (int round = 0; round < REPEATS; ++round) {
        write.Measure(BARE_WRITE, [&] { BareWriteLoop(paths); });
        list->MarkAllModified();
        write.Measure(WRITE_TAGS, [&] { list->WriteTags(); });
        unwritten += list->ModifiedTracks().GetCount();
        Pump();
    }
    std::printf("Writing %d changed tags (ratio to the bare write loop)\n", MAIN_ROWS);
    Line("bare write loop", write[BARE_WRITE], write[BARE_WRITE]);
    Line("WriteTags", write[WRITE_TAGS], write[BARE_WRITE]);
    if (unwritten > 0)
        std::printf("  %u tracks were left unwritten\n", static_cast<unsigned>(unwritten));
    std::printf("\n");

    // ---- the whole program's other bulk operations on the same rows
    {
        enum { SELECT_ALL, GROUP_EDIT };
        CRounds edit(2);
        for (int round = 0; round < REPEATS; ++round) {
            edit.Measure(SELECT_ALL, [&] {
                for (int row = 0; row < list->GetItemCount(); ++row)
                    list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            });
            edit.Measure(GROUP_EDIT, [&] { list->BatchSetText(ID_BATCH_YEAR, "1999"); });
            list->WriteTags();
            Pump();
        }
        std::printf("Selecting and group-editing %d rows\n", MAIN_ROWS);
        Line("select all", edit[SELECT_ALL]);
        Line("group edit of the Year", edit[GROUP_EDIT]);
        std::printf("\n");
    }
    {
        // Rename every row from its tag, against moving the same files to the same names.
        CNameFormat format("[track] [title] - [artist] ([year]).mp3");
        format.CompileFormat();
        std::vector<std::string> renamed;
        for (int row = 0; row < list->GetItemCount(); ++row) {
            const CMp3File* track = list->GetTrack(row);
            renamed.push_back(FolderOf(track->GetPath()) + format.BuildFileName(*track));
        }
        const auto moveAll = [](const std::vector<std::string>& from, const std::vector<std::string>& to) {
            int moved = 0;
            for (size_t i = 0; i < from.size(); ++i)
                moved += MoveFileA(from[i].c_str(), to[i].c_str()) != FALSE;
            return moved;
        };
        std::vector<std::string> current;
        for (int row = 0; row < list->GetItemCount(); ++row)
            current.push_back(list->GetTrack(row)->GetPath());
        enum { BARE_MOVE, RENAME };
        CRounds rename(2);
        int done = 0;
        for (int round = 0; round < 2; ++round) {
            rename.Measure(BARE_MOVE, [&] { done = moveAll(current, renamed); });
            moveAll(renamed, current);
            for (int row = 0; row < list->GetItemCount(); ++row)
                list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            rename.Measure(RENAME, [&] { done = list->RenameSelected(format).counts[RENAME_DONE]; });
            moveAll(renamed, current);
            // The tracks follow their files back, by the single-file road.
            for (int row = 0; row < list->GetItemCount(); ++row)
                list->GetTrack(row)->Load(current[static_cast<size_t>(row)]);
        }
        std::printf("Renaming %d files from their tags (ratio to a bare MoveFileA loop, same names)\n", MAIN_ROWS);
        Line("bare MoveFileA loop", rename[BARE_MOVE], rename[BARE_MOVE]);
        Line("RenameSelected", rename[RENAME], rename[BARE_MOVE]);
        std::printf("  files renamed in the last run: %d\n\n", done);
    }
    {
        // Close of every row through the track view's command, as the user chooses it.
        CTrackView view;
        view.CreateEx(0, nullptr, "", WS_CHILD, RECT{0, 0, 800, 600}, host, AFX_IDW_PANE_FIRST);
        view.CreateList(host, host, 800);
        view.List().AddFiles(paths);
        for (int row = 0; row < view.List().GetItemCount(); ++row)
            view.List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        const double closeMs = TimeMs([&] { view.SendMessage(WM_COMMAND, ID_FILE_CLOSE); });
        std::printf("Closing %d selected rows (File > Close)\n", MAIN_ROWS);
        Line("Close", closeMs);
        std::printf("  rows left: %d\n\n", view.List().GetItemCount());
        view.DestroyWindow();
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    // The Close measurement above held a second list of as many rows beside the first.
    std::printf("Peak working set so far (two lists of %d rows at once at its height): %.1f MB\n\n", MAIN_ROWS,
                static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));

    // ---- where loading spends its time
    enum { TAGS_ONLY, COLLECTION_ONLY, BARE_AGAIN };
    CRounds parts(3);
    for (int round = 0; round < LOAD_ROUNDS; ++round) {
        parts.Measure(BARE_AGAIN, [&] { BareReadLoop(paths); });
        parts.Measure(TAGS_ONLY, [&] {
            std::vector<std::unique_ptr<CMp3File>> tracks;
            tracks.reserve(paths.size());
            for (const std::string& path : paths)
                tracks.push_back(std::make_unique<CMp3File>(path));
        });
        parts.Measure(COLLECTION_ONLY, [&] { CTrackCollection().Load(paths); });
    }
    IconLookup icon = LookUpIcon(paths.front());
    for (int i = 1; i < REPEATS; ++i)
        icon.ms = std::min(icon.ms, LookUpIcon(paths.front()).ms);
    std::printf("Where loading %d files goes (ratio to the bare read loop of these rounds)\n", MAIN_ROWS);
    Line("bare read loop", parts[BARE_AGAIN], parts[BARE_AGAIN]);
    Line("a CMp3File for each file, no list", parts[TAGS_ONLY], parts[BARE_AGAIN]);
    Line("+ the collection (path keys, the repeat check)", parts[COLLECTION_ONLY], parts[BARE_AGAIN]);
    Line("AddFiles, row icon already in the image list", load[LOAD_ICON], load[BARE]);
    Line("AddFiles as it is (from the loading rounds)", load[LOAD], load[BARE]);
    std::printf("  one ExtractAssociatedIconA call: %.3f ms; it answered icon %u of %s\n", icon.ms,
                static_cast<unsigned>(icon.index), icon.source.c_str());
    if (icon.found)
        std::printf("  an icon came back, so AddFiles asks once per list\n");
    else
        std::printf("  no icon came back: AddFiles takes the shell's plain document icon, once per list\n");
    std::printf("\n");

    // ---- growth: load and sort by title at three sizes
    std::vector<std::string> large = paths;
    const double writtenLarge = TimeMs([&] { folder.AddFiles(LARGE_ROWS - MAIN_ROWS, large); });
    if (static_cast<int>(large.size()) != LARGE_ROWS) {
        std::printf("cannot write the sample files for %d rows\n", LARGE_ROWS);
        return 1;
    }
    struct Growth
    {
        int rows;
        double bare, tags, load, loadIcon, lookup, sort;
        long compares;
        bool ordered;
    };
    std::vector<Growth> growth;
    for (int rows : {SMALL_ROWS, MAIN_ROWS, LARGE_ROWS}) {
        const std::vector<std::string> subset(large.begin(), large.begin() + rows);
        BareReadLoop(subset);
        enum { S_BARE, S_TAGS, S_LOAD, S_LOAD_ICON, S_SORT };
        CRounds scale(5);
        Growth g{rows, 0, 0, 0, 0, 0, 0, 0, true};
        for (int round = 0; round < REPEATS; ++round) {
            scale.Measure(S_BARE, [&] { BareReadLoop(subset); });
            scale.Measure(S_TAGS, [&] {
                std::vector<std::unique_ptr<CMp3File>> tracks;
                tracks.reserve(subset.size());
                for (const std::string& path : subset)
                    tracks.push_back(std::make_unique<CMp3File>(path));
            });
            list = MakeList(host, list);
            list->PreloadIcon();
            scale.Measure(S_LOAD_ICON, [&] { list->AddFiles(subset); });
            list = MakeList(host, list);
            scale.Measure(S_LOAD, [&] { list->AddFiles(subset); });
            scale.Measure(S_SORT, [&] { g.compares = list->SortCounting(CTrackListCtrl::COL_TITLE); });
            g.ordered = g.ordered && InAscendingTitleOrder(*list);
        }
        // The icon lookup AddFiles makes, on files spread over the subset.
        for (int i = 0; i < ICON_SAMPLES; ++i)
            g.lookup += LookUpIcon(subset[static_cast<size_t>(i) * subset.size() / ICON_SAMPLES]).ms;
        g.lookup /= ICON_SAMPLES;
        g.bare = scale[S_BARE];
        g.tags = scale[S_TAGS];
        g.load = scale[S_LOAD];
        g.loadIcon = scale[S_LOAD_ICON];
        g.sort = scale[S_SORT];
        growth.push_back(g);
        DropList(list);
    }
    std::printf("Growth with the row count, all files in one folder\n");
    std::printf("  (wrote %d more sample files in %.0f ms)\n", LARGE_ROWS - MAIN_ROWS, writtenLarge);
    std::printf("  loading, microseconds per row: bare read loop; CMp3File objects only; AddFiles with the row\n"
                "  icon already there; AddFiles as it is; and one icon lookup as AddFiles makes it\n");
    std::printf("  %6s %9s %9s %9s %9s %9s %9s %10s\n", "rows", "bare", "CMp3File", "no lookup", "AddFiles",
                "lookup", "load ms", "load/bare");
    for (const Growth& g : growth) {
        const double perRow = 1000.0 / g.rows;
        std::printf("  %6d %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.2fx\n", g.rows, g.bare * perRow, g.tags * perRow,
                    g.loadIcon * perRow, g.load * perRow, g.lookup * 1000.0, g.load, g.load / g.bare);
    }
    std::printf("  sorting by title (one click)\n");
    std::printf("  %6s %9s %11s %11s %15s %12s\n", "rows", "sort ms", "us per row", "comparisons",
                "comp/(n log2 n)", "ns per comp");
    for (const Growth& g : growth) {
        const double n = g.rows;
        std::printf("  %6d %9.1f %11.2f %11ld %15.2f %12.0f%s\n", g.rows, g.sort, g.sort * 1000.0 / n, g.compares,
                    static_cast<double>(g.compares) / (n * std::log2(n)),
                    g.sort * 1e6 / static_cast<double>(g.compares),
                    g.ordered ? "" : "  (rows NOT in title order afterwards)");
    }
    std::printf("\n");

    const bool met = load[LOAD] <= 3.0 * load[BARE];
    std::printf("Load target (AddFiles within 3x the bare read loop at %d files): %s (%.2fx)\n", MAIN_ROWS,
                met ? "met" : "missed", load[LOAD] / load[BARE]);
    if (boxes > 0)
        std::printf("%d message boxes would have shown\n", boxes);

    host.Close();
    return boxes > 0 ? 1 : 0;
}
