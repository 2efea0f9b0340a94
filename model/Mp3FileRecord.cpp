// The plain members of CMp3File; the file access is in Mp3File.cpp.
#include "Mp3File.h"

CMp3File::CMp3File(const std::string& path)
{
    if (!path.empty())
        Load(path);
}

void CMp3File::Clear()
{
    m_strPath.clear();
    m_strArtist.clear();
    m_strTitle.clear();
    m_strAlbum.clear();
    m_strComment.clear();
    m_strYear.clear();
    m_nTrack = 0;
    m_nGenre = GENRE_NONE;
    m_bModified = false;
    m_bHasId3v1 = false;
    m_nId3v2Version = 0;
}

Id3v1Fields CMp3File::GetFields() const
{
    Id3v1Fields fields;
    fields.title = m_strTitle;
    fields.artist = m_strArtist;
    fields.album = m_strAlbum;
    fields.year = m_strYear;
    fields.comment = m_strComment;
    fields.track = m_nTrack;
    fields.genre = m_nGenre;
    return fields;
}

void CMp3File::SetFields(const Id3v1Fields& fields, bool modified)
{
    m_strTitle = fields.title;
    m_strArtist = fields.artist;
    m_strAlbum = fields.album;
    m_strYear = fields.year;
    m_strComment = fields.comment;
    m_nTrack = fields.track;
    m_nGenre = fields.genre;
    m_bModified = modified;
}
