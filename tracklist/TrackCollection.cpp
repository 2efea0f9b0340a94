#include "TrackCollection.h"

#include <windows.h>

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_set>

#include "model/GenreTable.h"
#include "model/PathText.h"
#include "model/Mp3File.h"
#include "framework/WideText.h"
#include "model/TagText.h"
#include "model/TrackNumber.h"
#include "rename/NameReader.h"
#include "tracklist/FolderWalk.h"

namespace {

// A sort key: the text as UTF-16 with every letter in lower case, so texts compare per character
// with letter case ignored (for ASCII exactly as a byte comparison folding A to Z would).
std::wstring FoldedKey(std::wstring text)
{
    if (!text.empty())
        CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// A text field's bytes as the record holds them; Genre and Track have none.
const std::string& TextFieldBytes(const CMp3File& track, TagField field)
{
    static const std::string none;
    switch (field) {
    case TF_TITLE: return track.GetTitle();
    case TF_ARTIST: return track.GetArtist();
    case TF_ALBUM: return track.GetAlbum();
    case TF_YEAR: return track.GetYear();
    case TF_COMMENT: return track.GetComment();
    default: return none;
    }
}

// The order of rows by their keys: equal keys keep their order (a merge sort, which makes at
// most n log2 n comparisons). Rows are sorted as indices, so only four bytes move.
template <class Key>
std::vector<uint32_t> StableOrder(const std::vector<Key>& keys, bool ascending, size_t& comparisons)
{
    std::vector<uint32_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&keys, ascending, &comparisons](uint32_t a, uint32_t b) {
        ++comparisons;
        return ascending ? keys[a] < keys[b] : keys[b] < keys[a];
    });
    return order;
}

// The same for number keys. These are small (a track is one byte, a genre's place is under 148),
// so a counting sort puts each row in place in one pass, with no comparison, keeping equal keys
// in their order; keys spread wider than the rows go to the merge sort.
std::vector<uint32_t> NumberOrder(const std::vector<int>& keys, bool ascending, size_t& comparisons)
{
    if (keys.empty())
        return {};
    const auto [low, high] = std::minmax_element(keys.begin(), keys.end());
    const int64_t spread = int64_t{*high} - *low + 1;
    if (spread > static_cast<int64_t>(keys.size()) + 256)
        return StableOrder(keys, ascending, comparisons);
    const auto bucket = [&](int key) { return static_cast<size_t>(ascending ? key - *low : *high - key); };
    std::vector<uint32_t> next(static_cast<size_t>(spread) + 1, 0); // where each bucket's next row goes
    for (int key : keys)
        ++next[bucket(key) + 1];
    for (size_t b = 1; b < next.size(); ++b)
        next[b] += next[b - 1];
    std::vector<uint32_t> order(keys.size());
    for (uint32_t row = 0; row < keys.size(); ++row)
        order[next[bucket(keys[row])]++] = row;
    return order;
}

// Each genre number's place when the genre names are sorted as the Genre column sorts them.
std::vector<int> GenrePlaces()
{
    std::vector<std::wstring> names;
    for (int genre = 0; genre < GENRE_COUNT; ++genre)
        names.push_back(FoldedKey(Widen(GenreTable[genre])));
    std::vector<int> places(GENRE_COUNT);
    size_t unused = 0;
    const std::vector<uint32_t> order = StableOrder(names, true, unused);
    for (size_t place = 0; place < order.size(); ++place)
        places[order[place]] = static_cast<int>(place);
    return places;
}

using TextSetter = void (CMp3File::*)(const std::string&);

TextSetter SetterOf(TagField field)
{
    switch (field) {
    case TF_TITLE: return &CMp3File::SetTitle;
    case TF_ARTIST: return &CMp3File::SetArtist;
    case TF_ALBUM: return &CMp3File::SetAlbum;
    case TF_YEAR: return &CMp3File::SetYear;
    case TF_COMMENT: return &CMp3File::SetComment;
    default: return nullptr;
    }
}

bool IsLetter(wchar_t c)
{
    return IsCharAlphaW(c) != FALSE;
}

wchar_t Upper(wchar_t c)
{
    CharUpperBuffW(&c, 1);
    return c;
}

wchar_t Lower(wchar_t c)
{
    CharLowerBuffW(&c, 1);
    return c;
}

} // namespace

// The sort keys of all rows for a text column, folded as FoldedKey does, in one buffer: a row
// costs no allocation of its own.
class CTextKeys
{
public:
    CTextKeys(size_t rows, size_t chars)
    {
        m_ends.reserve(rows);
        m_chars.reserve(chars);
    }

    // ASCII, as most tags are, is folded here without a call.
    template <class Decode>
    void Add(const std::string& bytes, Decode decode)
    {
        const size_t begin = m_chars.size();
        m_chars.resize(begin + bytes.size());
        wchar_t* out = &m_chars[begin];
        for (const char byte : bytes) {
            const unsigned char c = static_cast<unsigned char>(byte);
            if (c >= 0x80) {
                m_chars.resize(begin);
                m_chars += FoldedKey(decode(bytes));
                break;
            }
            *out++ = static_cast<wchar_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        m_ends.push_back(m_chars.size());
    }
    // One view a row, valid while this object lives unchanged.
    std::vector<std::wstring_view> Views() const
    {
        std::vector<std::wstring_view> views;
        views.reserve(m_ends.size());
        size_t begin = 0;
        for (const size_t end : m_ends) {
            views.emplace_back(m_chars.data() + begin, end - begin);
            begin = end;
        }
        return views;
    }

private:
    std::wstring m_chars;
    std::vector<size_t> m_ends;
};

// Title Case starts a word after the text's start, a blank, a hyphen, a slash or an opening
// bracket, so "don't" and "2nd" keep their lower-case letters.
std::wstring WithLetterCase(std::wstring text, LetterCase letterCase)
{
    bool start = true;
    for (wchar_t& c : text) {
        switch (letterCase) {
        case LetterCase::UPPER: c = Upper(c); break;
        case LetterCase::LOWER: c = Lower(c); break;
        case LetterCase::TITLE: c = start ? Upper(c) : Lower(c); break;
        case LetterCase::SENTENCE:
            c = start ? Upper(c) : Lower(c);
            if (IsLetter(c))
                start = false;
            continue;
        }
        if (letterCase == LetterCase::TITLE)
            start = c == L' ' || c == L'-' || c == L'/' || c == L'(' || c == L'[' || c == L'{';
    }
    return text;
}

bool HasMp3Ending(const std::string& path)
{
    const std::string last = path.size() < 3 ? path : path.substr(path.size() - 3);
    return last.size() == 3 && (last[0] == 'm' || last[0] == 'M') && (last[1] == 'p' || last[1] == 'P') &&
           last[2] == '3';
}

CTrackCollection::~CTrackCollection() = default;

int CTrackCollection::RowOf(const CMp3File* track) const
{
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].file.get() == track)
            return static_cast<int>(row);
    }
    return -1;
}

bool CTrackCollection::AddRow(const std::string& path, LoadResult& result)
{
    const std::uint64_t key = PathKey(path);
    if (m_keys.count(key)) {
        ++result.duplicates;
        return false;
    }
    m_rows.push_back({std::make_unique<CMp3File>(path), key});
    m_keys.insert(key);
    ++result.added;
    if (!m_rows.back().file->HasPath())
        result.unread.emplace_back(m_rows.size() - 1, path);
    return true;
}

// A path is asked whether it is a folder only when it is not a file that opened: most paths of a
// load are files, and each question is a trip to the file system.
LoadResult CTrackCollection::Load(const std::vector<std::string>& paths, IRunProgress* progress)
{
    LoadResult result;
    result.firstRow = m_rows.size();
    bool walking = false; // the total is not known once a folder was met
    size_t done = 0;
    const auto step = [&] {
        ++done;
        return !progress || progress->Step(done, walking ? 0 : paths.size());
    };
    CFolderWalker walker;
    for (const std::string& path : paths) {
        const bool mp3 = HasMp3Ending(path);
        const bool added = mp3 && AddRow(path, result);
        const bool unread = added && !m_rows.back().file->HasPath();
        if ((!added || unread) && IsFolder(path)) {
            if (unread) {
                m_keys.erase(m_keys.find(m_rows.back().key)); // a folder named like a song
                m_rows.pop_back();
                --result.added;
                result.unread.pop_back();
            }
            walking = true;
            if (!walker.Walk(path, [&](const std::string& file) { return AddRow(file, result), step(); })) {
                result.stopped = true;
                break;
            }
            continue;
        }
        result.rejected += !mp3;
        if (!step()) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

void CTrackCollection::Remove(std::vector<size_t> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // One pass: each kept row moves once.
    size_t kept = 0;
    auto next = rows.begin();
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (next != rows.end() && *next == row) {
            ++next;
            m_modified.Remove(m_rows[row].file.get());
            m_lossy.erase(m_rows[row].file.get());
            ForgetInUndo(m_rows[row].file.get(), true);
            m_keys.erase(m_keys.find(m_rows[row].key));
            continue;
        }
        m_rows[kept++] = std::move(m_rows[row]);
    }
    m_rows.resize(kept);
}

void CTrackCollection::Clear()
{
    m_modified.Filter([](CMp3File*) { return false; });
    m_lossy.clear();
    m_undo = UndoStep();
    m_keys.clear();
    m_rows.clear();
}

std::string CTrackCollection::FieldText(const CMp3File& track, TagField field) const
{
    switch (field) {
    case TF_GENRE: return GetGenreName(track.GetGenre());
    case TF_TRACK: return track.GetTrack() == 0 ? std::string() : std::to_string(track.GetTrack());
    case TF_NONE: return track.GetPath();
    default: return m_text.ToText(TextFieldBytes(track, field));
    }
}

void CTrackCollection::SetBytes(CMp3File& track, TagField field, const std::string& text, bool fromUtf8, bool* changed)
{
    bool replaced = false;
    bool cut = false;
    const size_t slot = SlotBytes(field, track.GetTrack());
    (track.*SetterOf(field))(fromUtf8 ? m_text.FromUtf8(text, slot, &replaced, &cut)
                                      : m_text.FromText(text, slot, &replaced, &cut));
    const auto lossy = m_lossy.find(&track);
    if (replaced)
        m_lossy[&track] |= 1u << field;
    else if (lossy != m_lossy.end() && (lossy->second &= ~(1u << field)) == 0)
        m_lossy.erase(lossy);
    if (changed)
        *changed = replaced || cut;
}

void CTrackCollection::SetText(TagField field, const std::vector<size_t>& rows, const std::string& text)
{
    if (!SetterOf(field))
        return;
    for (size_t row : rows) {
        if (CMp3File* track = At(row)) {
            SetBytes(*track, field, text, false, nullptr);
            m_modified.Add(track);
        }
    }
}

void CTrackCollection::SetFromText(TagField field, size_t row, const std::string& text)
{
    if (field == TF_GENRE) {
        const int genre = text.empty() ? GENRE_NONE : FindGenre(text);
        if (genre >= 0)
            SetNumber(field, {row}, genre);
    } else if (field == TF_TRACK) {
        SetNumber(field, {row}, ParseTrackNumber(text));
    } else {
        SetText(field, {row}, text);
    }
}

int CTrackCollection::LossyFieldCount() const
{
    int count = 0;
    for (const auto& [track, fields] : m_lossy) {
        if (m_modified.Contains(track))
            count += __builtin_popcount(fields);
    }
    return count;
}

void CTrackCollection::SetNumber(TagField field, const std::vector<size_t>& rows, int value)
{
    if (field != TF_TRACK && field != TF_GENRE)
        return;
    for (size_t row : rows) {
        if (CMp3File* track = At(row)) {
            if (field == TF_TRACK)
                track->SetTrack(ClampTrack(value));
            else
                track->SetGenre(value);
            m_modified.Add(track);
        }
    }
}

FillResult CTrackCollection::FillFromId3v2(const std::vector<size_t>& rows)
{
    FillResult result;
    for (size_t row : rows) {
        CMp3File* track = At(row);
        Id3v2Fields tag;
        if (!track || !track->GetId3v2Version() || !track->ReadId3v2Tag(tag)) {
            result.withoutTag += track != nullptr;
            continue;
        }
        bool filled = false;
        if (tag.hasTrack) {
            track->SetTrack(tag.track);
            filled = true;
        }
        if (tag.hasGenre) {
            track->SetGenre(tag.genre);
            filled = true;
        }
        // The comment's slot depends on the track, so it comes after it.
        const std::pair<TagField, const Id3v2Text*> texts[] = {
            {TF_TITLE, &tag.title}, {TF_ARTIST, &tag.artist}, {TF_ALBUM, &tag.album},
            {TF_YEAR, &tag.year},   {TF_COMMENT, &tag.comment},
        };
        for (const auto& [field, value] : texts) {
            if (!value->has)
                continue;
            bool changed = false;
            SetBytes(*track, field, value->text, true, &changed);
            result.changed += changed;
            filled = true;
        }
        if (filled) {
            ++result.filled;
            m_modified.Add(track);
        } else {
            ++result.withoutTag;
        }
    }
    return result;
}

NameFillResult CTrackCollection::FillFromNames(const std::vector<size_t>& rows, const CNameReader& reader)
{
    NameFillResult result;
    for (size_t row : rows) {
        CMp3File* track = At(row);
        NameFields read;
        if (!track || !reader.Read(track->GetPath(), &read)) {
            result.notMatched += track != nullptr;
            continue;
        }
        // The track first: the comment's slot depends on it.
        if (read.track.has)
            SetNumber(TF_TRACK, {row}, read.track.value);
        if (read.genre.has)
            SetNumber(TF_GENRE, {row}, read.genre.value);
        const std::pair<TagField, const NameText*> texts[] = {
            {TF_TITLE, &read.title}, {TF_ARTIST, &read.artist}, {TF_ALBUM, &read.album},
            {TF_YEAR, &read.year},   {TF_COMMENT, &read.comment},
        };
        for (const auto& [field, value] : texts) {
            if (value->has)
                SetText(field, {row}, value->text);
        }
        m_modified.Add(track);
        ++result.filled;
    }
    return result;
}

void CTrackCollection::NumberTracks(const std::vector<size_t>& rows)
{
    for (size_t i = 0; i < rows.size(); ++i)
        SetNumber(TF_TRACK, {rows[i]}, static_cast<int>(i + 1));
}

int CTrackCollection::ChangeLetterCase(const std::vector<size_t>& rows, LetterCase letterCase)
{
    int changed = 0;
    for (size_t row : rows) {
        CMp3File* track = At(row);
        if (!track)
            continue;
        bool rowChanged = false;
        for (TagField field : {TF_TITLE, TF_ARTIST, TF_ALBUM, TF_COMMENT}) {
            const std::wstring before = m_text.ToWide(TextFieldBytes(*track, field));
            const std::wstring after = WithLetterCase(before, letterCase);
            if (after == before)
                continue; // bytes the code page cannot read stay as they are
            SetText(field, {row}, Narrow(after));
            rowChanged = true;
        }
        changed += rowChanged;
    }
    return changed;
}

std::vector<CMp3File*> CTrackCollection::WriteModified(IRunProgress* progress)
{
    std::vector<CMp3File*> failed;
    const size_t total = m_modified.GetCount();
    size_t done = 0;
    bool going = true;
    // A track whose write fails stays in the list, so its edit is neither lost nor forgotten;
    // so does every track a stopped run did not reach.
    m_modified.Filter([&](CMp3File* track) {
        if (!going)
            return true;
        const bool written = !track->IsModified() || track->WriteTag(m_disk);
        if (written) {
            m_lossy.erase(track);
            ForgetInUndo(track, false); // a written row stays as written
        }
        else
            failed.push_back(track);
        going = !progress || progress->Step(++done, total);
        return !written;
    });
    return failed;
}

bool CTrackCollection::Renamed(Row& row, bool done)
{
    if (done) {
        m_keys.erase(m_keys.find(row.key));
        row.key = PathKey(row.file->GetPath());
        m_keys.insert(row.key);
    }
    return done;
}

bool CTrackCollection::RenameTo(CMp3File& track, const std::string& name)
{
    const int row = RowOf(&track);
    const std::string from = track.GetPath();
    const bool done = track.RenameTo(name, m_disk);
    const DWORD error = GetLastError();
    if (row >= 0 && Renamed(m_rows[static_cast<size_t>(row)], done))
        RecordMoves({{&track, from, track.GetPath()}});
    SetLastError(error);
    return done;
}

std::string CTrackCollection::BuiltName(const CMp3File& track, const CNameFormat& format) const
{
    return format.BuildFileName(track, [this](const std::string& bytes) { return m_text.ToText(bytes); });
}

const CMp3File& SampleTrack()
{
    static CMp3File sample;
    sample.SetFields({"Northern Lights", "Anna Berg", "Polar Nights", "2019", "Live", 3, 17}, false);
    return sample;
}

RenameRun CTrackCollection::Rename(const std::vector<size_t>& rows, const CNameFormat& format, IRunProgress* progress)
{
    RenameRun run;
    std::vector<UndoStep::Move> moves;
    for (size_t i = 0; i < rows.size(); ++i) {
        Row* row = rows[i] < m_rows.size() ? &m_rows[rows[i]] : nullptr;
        RenameOutcome outcome = RENAME_SKIPPED;
        std::string name = row ? BuiltName(*row->file, format) : std::string();
        unsigned long error = 0;
        if (row) {
            const std::string from = row->file->GetPath();
            outcome = RenameFromTag(name, from, [&](const std::string& newPath) {
                error = Renamed(*row, row->file->RenameTo(newPath, m_disk)) ? 0ul : GetLastError();
                return error;
            });
            if (outcome == RENAME_DONE)
                moves.push_back({row->file.get(), from, row->file->GetPath()});
        }
        run.outcomes.push_back(outcome);
        run.names.push_back(std::move(name));
        run.errors.push_back(error);
        ++run.counts[outcome];
        if (progress && !progress->Step(i + 1, rows.size())) {
            run.notReached = rows.size() - i - 1;
            break;
        }
    }
    if (!moves.empty())
        RecordMoves(std::move(moves));
    return run;
}

void CTrackCollection::RecordMoves(std::vector<UndoStep::Move> moves)
{
    m_undo = UndoStep();
    m_undo.label = "Rename of " + std::to_string(moves.size()) + (moves.size() == 1 ? " File" : " Files");
    m_undo.moves = std::move(moves);
}

void CTrackCollection::RecordFieldChange(std::string label, const std::vector<size_t>& rows)
{
    m_undo = UndoStep();
    m_undo.label = std::move(label);
    for (size_t row : rows) {
        if (CMp3File* track = At(row)) {
            const auto lossy = m_lossy.find(track);
            m_undo.fields.push_back({track, track->GetFields(), m_modified.Contains(track),
                                     lossy == m_lossy.end() ? 0u : lossy->second});
        }
    }
}

void CTrackCollection::ForgetInUndo(const CMp3File* track, bool closing)
{
    auto& fields = m_undo.fields;
    fields.erase(std::remove_if(fields.begin(), fields.end(), [track](const auto& f) { return f.track == track; }),
                 fields.end());
    for (const auto& move : m_undo.moves) {
        if (closing && move.track == track) {
            m_undo = UndoStep(); // a rename is taken back whole or not at all
            return;
        }
    }
}

UndoResult CTrackCollection::Undo()
{
    UndoResult result;
    UndoStep step = std::move(m_undo);
    m_undo = UndoStep();
    result.wasRename = !step.moves.empty();
    // Each record's row, found once: a step can hold every row.
    std::unordered_map<const CMp3File*, size_t> rowOf;
    for (size_t row = 0; row < m_rows.size(); ++row)
        rowOf.emplace(m_rows[row].file.get(), row);
    for (const auto& move : step.moves) {
        // Only a file still where the rename put it goes back, and never over another file.
        const auto row = rowOf.find(move.track);
        const bool there = row != rowOf.end() && move.track->GetPath() == move.to &&
                           GetFileAttributesA(move.to.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (there && Renamed(m_rows[row->second], move.track->RenameTo(move.from, m_disk))) {
            ++result.givenBack;
            result.rows.push_back(row->second);
        } else {
            ++result.leftAlone;
        }
    }
    for (const auto& field : step.fields) {
        field.track->SetFields(field.before, field.wasModified);
        if (field.wasModified)
            m_modified.Add(field.track);
        else
            m_modified.Remove(field.track);
        if (field.lossy)
            m_lossy[field.track] = field.lossy;
        else
            m_lossy.erase(field.track);
        ++result.givenBack;
        result.rows.push_back(rowOf.at(field.track)); // a closed row left the step
    }
    return result;
}

size_t CTrackCollection::Sort(TagField field, bool ascending)
{
    size_t comparisons = 0;
    const std::vector<uint32_t> order = field == TF_TRACK || field == TF_GENRE
                                            ? NumberOrder(NumberKeys(field), ascending, comparisons)
                                            : StableOrder(TextKeys(field).Views(), ascending, comparisons);
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (uint32_t row : order)
        sorted.push_back(std::move(m_rows[row]));
    m_rows = std::move(sorted);
    return comparisons;
}

// Each row's key for a text column, made once for the whole sort.
CTextKeys CTrackCollection::TextKeys(TagField field) const
{
    const auto bytesOf = [field](const Row& row) -> const std::string& {
        return field == TF_NONE ? row.file->GetPath() : TextFieldBytes(*row.file, field);
    };
    size_t chars = 0; // ASCII keys fill exactly this much; one pass to ask is cheaper than regrowing
    for (const Row& row : m_rows)
        chars += bytesOf(row).size();
    CTextKeys keys(m_rows.size(), chars);
    // A path is in the program's text; a field in the tag code page.
    for (const Row& row : m_rows)
        keys.Add(bytesOf(row), [this, field](const std::string& bytes) {
            return field == TF_NONE ? Widen(bytes) : m_text.ToWide(bytes);
        });
    return keys;
}

// Each row's key for Track (its number) or Genre (its name's place among all genre names, so a
// row costs no text at all).
std::vector<int> CTrackCollection::NumberKeys(TagField field) const
{
    std::vector<int> keys;
    keys.reserve(m_rows.size());
    if (field == TF_TRACK) {
        for (const Row& row : m_rows)
            keys.push_back(row.file->GetTrack());
        return keys;
    }
    static const std::vector<int> genrePlace = GenrePlaces();
    for (const Row& row : m_rows) {
        const int genre = row.file->GetGenre();
        keys.push_back(genre >= 0 && genre < GENRE_COUNT ? genrePlace[genre] : -1); // no name sorts first
    }
    return keys;
}
