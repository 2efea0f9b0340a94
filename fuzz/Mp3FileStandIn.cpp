// Native stand-in for the Win32 members of CMp3File, so the plain core links without
// <windows.h>. The fields and inline accessors are the real ones; nothing touches a disk.
#include "model/Mp3File.h"

CMp3File::WriteBytesFunc CMp3File::s_pfnWriteBytes = nullptr;
CMp3File::MoveFileFunc CMp3File::s_pfnMoveFile = nullptr;

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

bool CMp3File::Load(const std::string&) { return false; }
bool CMp3File::WriteTag() { return false; }
bool CMp3File::RenameTo(const std::string&) { return false; }
