#include "TrackCollection.h"

#include <windows.h>

#include <algorithm>
#include <unordered_set>

#include "model/GenreTable.h"
#include "model/Mp3File.h"
#include "model/TrackNumber.h"

namespace {

// Case-insensitive byte comparison that folds only A to Z, as strcasecmp does in the "C" locale.
int CompareNoCase(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
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

std::string SortText(const CMp3File& track, TagField field)
{
    if (field == TF_NONE)
        return track.GetPath();
    if (field == TF_GENRE)
        return GetGenreName(track.GetGenre());
    static const CNameFormat plain;
    return plain.GetFieldText(field, track);
}

} // namespace

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
        if (m_rows[row].get() == track)
            return static_cast<int>(row);
    }
    return -1;
}

LoadResult CTrackCollection::Load(const std::vector<std::string>& paths)
{
    LoadResult result;
    result.firstRow = m_rows.size();
    for (const std::string& path : paths) {
        if (!HasMp3Ending(path)) {
            ++result.rejected;
            continue;
        }
        m_rows.push_back(std::make_unique<CMp3File>(path));
        ++result.added;
    }
    return result;
}

void CTrackCollection::Remove(std::vector<size_t> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (size_t row : rows) {
        if (row < m_rows.size())
            m_modified.Remove(m_rows[row].get());
    }
    // One pass: each kept row moves once.
    size_t kept = 0;
    auto next = rows.begin();
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (next != rows.end() && *next == row) {
            ++next;
            continue;
        }
        m_rows[kept++] = std::move(m_rows[row]);
    }
    m_rows.resize(kept);
}

void CTrackCollection::Clear()
{
    m_modified.Filter([](CMp3File*) { return false; });
    m_rows.clear();
}

void CTrackCollection::SetText(TagField field, const std::vector<size_t>& rows, const std::string& text)
{
    const TextSetter setter = SetterOf(field);
    if (!setter)
        return;
    for (size_t row : rows) {
        if (CMp3File* track = At(row)) {
            (track->*setter)(text);
            m_modified.Add(track);
        }
    }
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

std::vector<CMp3File*> CTrackCollection::WriteModified()
{
    std::vector<CMp3File*> failed;
    // A track whose write fails stays in the list, so its edit is neither lost nor forgotten.
    m_modified.Filter([&](CMp3File* track) {
        if (!track->IsModified() || track->WriteTag(m_disk))
            return false;
        failed.push_back(track);
        return true;
    });
    return failed;
}

RenameRun CTrackCollection::Rename(const std::vector<size_t>& rows, const CNameFormat& format)
{
    RenameRun run;
    for (size_t row : rows) {
        CMp3File* track = At(row);
        RenameOutcome outcome = RENAME_SKIPPED;
        std::string name = track ? format.BuildFileName(*track) : std::string();
        if (track) {
            outcome = RenameFromTag(name, track->GetPath(), [&](const std::string& newPath) {
                return track->RenameTo(newPath, m_disk) ? 0ul : static_cast<unsigned long>(GetLastError());
            });
        }
        run.outcomes.push_back(outcome);
        run.names.push_back(std::move(name));
        ++run.counts[outcome];
    }
    return run;
}

size_t CTrackCollection::Sort(TagField field, bool ascending)
{
    // Keys are made once, not at every comparison.
    std::vector<std::pair<std::string, std::unique_ptr<CMp3File>>> keyed;
    keyed.reserve(m_rows.size());
    for (auto& row : m_rows) {
        std::string key = field == TF_TRACK ? std::string() : SortText(*row, field);
        keyed.emplace_back(std::move(key), std::move(row));
    }
    size_t comparisons = 0;
    std::stable_sort(keyed.begin(), keyed.end(), [field, ascending, &comparisons](const auto& a, const auto& b) {
        ++comparisons;
        const auto& first = ascending ? a : b;
        const auto& second = ascending ? b : a;
        if (field == TF_TRACK)
            return first.second->GetTrack() < second.second->GetTrack();
        return CompareNoCase(first.first, second.first) < 0;
    });
    for (size_t row = 0; row < keyed.size(); ++row)
        m_rows[row] = std::move(keyed[row].second);
    return comparisons;
}
