#pragma once
#include <memory>
#include <string>
#include <vector>

#include "model/Mp3File.h"
#include "rename/NameFormat.h"
#include "rename/RenameDecision.h"
#include "tracklist/ModifiedTracks.h"


// What one load made of its paths.
struct LoadResult
{
    size_t firstRow = 0;  // where the added rows begin
    size_t added = 0;     // rows added at the end, in path order
    int rejected = 0;     // paths whose name does not end in "mp3"
};

// What one rename run did to each row it was given.
struct RenameRun
{
    std::vector<RenameOutcome> outcomes; // in the order of the rows given
    std::vector<std::string> names;      // the name built for each
    int counts[4] = {};                  // by RenameOutcome
};

// The loaded files and the work on them, without a window: the records in row order, the
// tracks changed and not yet written, and the loads, group edits, writes, renames and removals
// that change them. The one owner of every CMp3File it loads.
class CTrackCollection
{
public:
    explicit CTrackCollection(const CDiskOps& disk = CDiskOps::System()) : m_disk(disk) {}
    ~CTrackCollection();
    CTrackCollection(const CTrackCollection&) = delete;
    CTrackCollection& operator=(const CTrackCollection&) = delete;

    size_t Count() const { return m_rows.size(); }
    // The record of a row; null for a row that does not exist.
    CMp3File* At(size_t row) const { return row < m_rows.size() ? m_rows[row].get() : nullptr; }
    // The row of a record, or -1.
    int RowOf(const CMp3File* track) const;

    // Loads each path whose name ends in "mp3" (in any letter case) as a new row at the end.
    LoadResult Load(const std::vector<std::string>& paths);
    // Removes the rows (in any order; each at most once) and deletes their records.
    void Remove(std::vector<size_t> rows);
    void Clear();

    // Sets one tag field of each given row and marks it modified. The genre and the track take
    // numbers: SetNumber ignores text fields, SetText the two number fields.
    void SetText(TagField field, const std::vector<size_t>& rows, const std::string& text);
    void SetNumber(TagField field, const std::vector<size_t>& rows, int value);
    // Notes a record whose fields were changed directly (an edit in a cell).
    void MarkModified(CMp3File* track) { m_modified.Add(track); }
    const CModifiedTracks& Modified() const { return m_modified; }

    // Writes every modified tag; returns the records whose write failed (they stay modified).
    std::vector<CMp3File*> WriteModified();
    // Renames the files of the given rows from their tags.
    RenameRun Rename(const std::vector<size_t>& rows, const CNameFormat& format);
    // Renames one file to a name typed for it; false with the platform's error set.
    bool RenameTo(CMp3File& track, const std::string& name) { return track.RenameTo(name, m_disk); }

    // Orders the rows by a field (TF_NONE: the file's path), letter case ignored; rows with equal
    // keys keep their order. Returns the number of comparisons made.
    size_t Sort(TagField field, bool ascending);

private:
    const CDiskOps& m_disk;
    std::vector<std::unique_ptr<CMp3File>> m_rows;
    CModifiedTracks m_modified;
};

// Only the last three characters decide: "mp3" in any letter case.
bool HasMp3Ending(const std::string& path);
