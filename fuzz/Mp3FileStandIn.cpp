// Native stand-in for the Win32 members of CMp3File, so the plain core links without
// <windows.h>. The record itself (model/Mp3FileRecord.cpp) is the real one; nothing touches a disk.
#include "model/Mp3File.h"

bool CDiskOps::WriteBytes(void*, const void*, unsigned long, unsigned long*) const { return false; }
bool CDiskOps::MoveWithoutReplacing(const char*, const char*) const { return false; }
const CDiskOps& CDiskOps::System()
{
    static const CDiskOps none;
    return none;
}

bool CMp3File::Load(const std::string&) { return false; }
bool CMp3File::ReadId3v2Tag(Id3v2Fields&) const { return false; }
bool CMp3File::WriteTag(const CDiskOps&) { return false; }
bool CMp3File::RenameTo(const std::string&, const CDiskOps&) { return false; }
