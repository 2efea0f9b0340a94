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
}
