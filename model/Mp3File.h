#pragma once
#include <string>

#include "DiskOps.h"
#include "GenreTable.h"
#include "Id3v1Tag.h"
#include "Id3v2Tag.h"

// One loaded MP3 file: its path, the fields of its ID3v1 tag and whether they were changed
// since they were read or last written.
class CMp3File
{
public:
    explicit CMp3File(const std::string& path = std::string());
    virtual ~CMp3File() = default;
    CMp3File(const CMp3File&) = delete;
    CMp3File& operator=(const CMp3File&) = delete;

    void Clear();
    // Reads the tag of the file at path; false when the file cannot be opened.
    bool Load(const std::string& path);
    // Writes the fields as the file's tag, appending one when the file has none. Never
    // creates a file; on a failed write the file is put back as it was.
    bool WriteTag(const CDiskOps& disk = CDiskOps::System());
    // Renames the file; a name without backslash stays in the file's folder. A change of letter
    // case only goes through a temporary name, since a direct move may keep the old case. On
    // failure the path still names the file and GetLastError tells why.
    bool RenameTo(const std::string& newName, const CDiskOps& disk = CDiskOps::System());

    const std::string& GetPath() const { return m_strPath; }
    // False for a record whose file could not be read.
    bool HasPath() const { return !m_strPath.empty(); }
    const std::string& GetTitle() const { return m_strTitle; }
    const std::string& GetArtist() const { return m_strArtist; }
    const std::string& GetAlbum() const { return m_strAlbum; }
    const std::string& GetYear() const { return m_strYear; }
    const std::string& GetComment() const { return m_strComment; }
    int GetTrack() const { return m_nTrack; }
    // The major version of the ID3v2 tag at the file's start when it was loaded; 0 for none.
    int GetId3v2Version() const { return m_nId3v2Version; }
    bool HasId3v1Tag() const { return m_bHasId3v1; }
    // Reads the file's ID3v2 tag (never more than MAX_ID3V2_READ bytes); false when the file
    // cannot be read or has no such tag.
    bool ReadId3v2Tag(Id3v2Fields& fields) const;
    static constexpr unsigned long MAX_ID3V2_READ = 16ul << 20;
    int GetGenre() const { return m_nGenre; }
    bool IsModified() const { return m_bModified; }

    // All seven fields at once, and whether they count as changed (to take a change back).
    Id3v1Fields GetFields() const;
    void SetFields(const Id3v1Fields& fields, bool modified);

    void SetTitle(const std::string& title) { m_strTitle = title; m_bModified = true; }
    void SetArtist(const std::string& artist) { m_strArtist = artist; m_bModified = true; }
    void SetAlbum(const std::string& album) { m_strAlbum = album; m_bModified = true; }
    void SetYear(const std::string& year) { m_strYear = year; m_bModified = true; }
    void SetComment(const std::string& comment) { m_strComment = comment; m_bModified = true; }
    void SetTrack(int track) { m_nTrack = track; m_bModified = true; }
    void SetGenre(int genre) { m_nGenre = genre; m_bModified = true; }

private:
    bool MoveThroughTemporaryName(const std::string& newPath, const CDiskOps& disk);

    std::string m_strPath;
    std::string m_strArtist;
    std::string m_strTitle;
    std::string m_strAlbum;
    std::string m_strComment;
    std::string m_strYear;
    int m_nTrack = 0;
    int m_nGenre = GENRE_NONE;
    bool m_bModified = false;
    bool m_bHasId3v1 = false;
    unsigned char m_nId3v2Version = 0;
};
