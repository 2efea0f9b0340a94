#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/Mp3File.h"
#include "model/TagText.h"
#include "rename/NameFormat.h"
#include "rename/RenameDecision.h"
#include "tracklist/ModifiedTracks.h"
#include "tracklist/RunProgress.h"


// What one load made of its paths.
struct LoadResult
{
    size_t firstRow = 0; // where the added rows begin
    size_t added = 0;    // rows added at the end, in order
    // Added rows whose file could not be read (their record has no path), with the path given.
    std::vector<std::pair<size_t, std::string>> unread;
    int rejected = 0;               // paths given whose name does not end in "mp3"
    int duplicates = 0;             // paths of files in the list already, or met before
    bool stopped = false;           // the progress stopped the load
};

// What one rename run did to each row it was given.
struct RenameRun
{
    std::vector<RenameOutcome> outcomes; // in the order of the rows given
    std::vector<std::string> names;      // the name built for each
    std::vector<unsigned long> errors;   // the platform's error of a move that failed, else 0
    int counts[4] = {};                  // by RenameOutcome
    size_t notReached = 0;               // rows left when the run was stopped
};

// What one fill from ID3v2 tags did.
struct FillResult
{
    int filled = 0;     // files with at least one field from their tag
    int withoutTag = 0; // files whose tag (if any) holds none of the seven fields
    int changed = 0;    // fields cut to their slot or with characters replaced
};

// The loaded files and the work on them, without a window: the records in row order, the
// tracks changed and not yet written, and the loads, group edits, writes, renames and removals
// that change them. The one owner of every CMp3File it loads.
// What taking back a rename did.
struct UndoResult
{
    int givenBack = 0; // files moved back to their old names, or rows whose fields came back
    int leftAlone = 0; // files renamed, moved or deleted since, or whose old name is taken
    bool wasRename = false;
    std::vector<size_t> rows; // the rows it touched
};

// What reading tags from file names did.
struct NameFillResult
{
    int filled = 0;
    int notMatched = 0;
};

// The letter cases Tools > Letter Case sets.
enum class LetterCase { TITLE, SENTENCE, UPPER, LOWER };

class CNameReader;
class CTextKeys;

class CTrackCollection
{
public:
    explicit CTrackCollection(const CDiskOps& disk = CDiskOps::System()) : m_disk(disk) {}
    ~CTrackCollection();
    CTrackCollection(const CTrackCollection&) = delete;
    CTrackCollection& operator=(const CTrackCollection&) = delete;

    size_t Count() const { return m_rows.size(); }
    // The record of a row; null for a row that does not exist.
    CMp3File* At(size_t row) const { return row < m_rows.size() ? m_rows[row].file.get() : nullptr; }
    // The row of a record, or -1.
    int RowOf(const CMp3File* track) const;

    // Loads each path whose name ends in "mp3" (in any letter case) as a new row at the end, and
    // the MP3 files inside each folder given (see CFolderWalker). A file already in the list
    // is not loaded again.
    LoadResult Load(const std::vector<std::string>& paths, IRunProgress* progress = nullptr);
    // Removes the rows (in any order; each at most once) and deletes their records.
    void Remove(std::vector<size_t> rows);
    void Clear();

    // The code page of ID3v1 text: how fields read and how text becomes their bytes.
    const CTagText& Text() const { return m_text; }
    void SetTagCodePage(unsigned codePage) { m_text = CTagText(codePage); }
    // What a field of a record says, as the program's text (the genre's name, the track's number).
    std::string FieldText(const CMp3File& track, TagField field) const;

    // Sets one tag field of each given row and marks it modified; text becomes the field's bytes
    // in the tag code page, cut to its slot. The genre and the track take numbers: SetNumber
    // ignores text fields, SetText the two number fields.
    void SetText(TagField field, const std::vector<size_t>& rows, const std::string& text);
    void SetNumber(TagField field, const std::vector<size_t>& rows, int value);
    // Sets a field from text as a user types it: the genre by its name (a name the table lacks
    // changes nothing), the track as a number.
    void SetFromText(TagField field, size_t row, const std::string& text);
    // Sets each field that the row's ID3v2 tag holds from it, converted by text into the tag's
    // bytes; the rows filled become modified.
    FillResult FillFromId3v2(const std::vector<size_t>& rows);
    // Sets the fields a format reads from each row's path; a name that does not match changes
    // nothing in its row.
    NameFillResult FillFromNames(const std::vector<size_t>& rows, const CNameReader& reader);
    // Sets the track of the rows to 1, 2, 3, ... in the order given.
    void NumberTracks(const std::vector<size_t>& rows);
    // Changes the letter case of Title, Artist, Album and Comment, per character in the tag code
    // page; only rows where a field changed become modified. Returns how many did.
    int ChangeLetterCase(const std::vector<size_t>& rows, LetterCase letterCase);
    // Notes a record whose fields were changed directly (an edit in a cell).
    void MarkModified(CMp3File* track) { m_modified.Add(track); }
    const CModifiedTracks& Modified() const { return m_modified; }
    // How many modified fields hold characters the tag code page could not store (written as "?").
    int LossyFieldCount() const;
    bool HasLossyFields(const CMp3File* track) const { return m_lossy.count(track) != 0; }

    // Writes every modified tag; returns the records whose write failed (they stay modified).
    std::vector<CMp3File*> WriteModified(IRunProgress* progress = nullptr);
    // The name a format builds from a record's tag, its fields read in the tag code page.
    std::string BuiltName(const CMp3File& track, const CNameFormat& format) const;
    // Renames the files of the given rows from their tags.
    RenameRun Rename(const std::vector<size_t>& rows, const CNameFormat& format, IRunProgress* progress = nullptr);
    // Renames one file to a name typed for it; false with the platform's error set.
    bool RenameTo(CMp3File& track, const std::string& name);

    // Notes the fields of the rows before a change, so Undo can take it back; label names the
    // change ("Paste"). Every change replaces the one before: one level.
    void RecordFieldChange(std::string label, const std::vector<size_t>& rows);
    bool CanUndo() const { return !m_undo.label.empty(); }
    // What Undo would take back ("Rename of 37 Files"); empty when nothing.
    const std::string& UndoLabel() const { return m_undo.label; }
    UndoResult Undo();

    // Orders the rows by a field (TF_NONE: the file's path), letter case ignored; rows with equal
    // keys keep their order. Returns the number of comparisons made.
    size_t Sort(TagField field, bool ascending);

private:
    struct Row
    {
        std::unique_ptr<CMp3File> file;
        std::uint64_t key; // PathKey of the path it was loaded or renamed from
    };
    // Adds a row unless its file is in the list already; false for a repeat.
    CTextKeys TextKeys(TagField field) const;
    std::vector<int> NumberKeys(TagField field) const;
    bool AddRow(const std::string& path, LoadResult& result);
    bool Renamed(Row& row, bool done);
    void SetBytes(CMp3File& track, TagField field, const std::string& text, bool fromUtf8, bool* changed);

    // The last change, for Undo.
    struct UndoStep
    {
        std::string label;
        struct Fields
        {
            CMp3File* track;
            Id3v1Fields before;
            bool wasModified;
            unsigned lossy;
        };
        std::vector<Fields> fields;
        struct Move
        {
            CMp3File* track;
            std::string from; // the path before the rename
            std::string to;   // the path the rename gave
        };
        std::vector<Move> moves;
    };
    void RecordMoves(std::vector<UndoStep::Move> moves);
    // Rows written or closed take their fields out of the change; a rename cannot be taken back
    // once one of its rows is closed.
    void ForgetInUndo(const CMp3File* track, bool closing);

    UndoStep m_undo;
    const CDiskOps& m_disk;
    std::vector<Row> m_rows;
    std::unordered_multiset<std::uint64_t> m_keys;
    CModifiedTracks m_modified;
    CTagText m_text;
    std::unordered_map<const CMp3File*, unsigned> m_lossy; // fields (bit per TagField) with a "?" for a character
};

// A made-up tag for examples when no file is at hand.
const CMp3File& SampleTrack();

// The text in a letter case (per character, in Unicode).
std::wstring WithLetterCase(std::wstring text, LetterCase letterCase);

// Only the last three characters decide: "mp3" in any letter case.
bool HasMp3Ending(const std::string& path);
