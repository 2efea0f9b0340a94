// Native stand-in for the Win32 members of CMp3File, so the plain core links without
// <windows.h>. The record itself (model/Mp3FileRecord.cpp) is the real one; nothing touches a disk.
#include "model/Mp3File.h"

CMp3File::WriteBytesFunc CMp3File::s_pfnWriteBytes = nullptr;
CMp3File::MoveFileFunc CMp3File::s_pfnMoveFile = nullptr;

bool CMp3File::Load(const std::string&) { return false; }
bool CMp3File::WriteTag() { return false; }
bool CMp3File::RenameTo(const std::string&) { return false; }
