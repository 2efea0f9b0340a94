#pragma once
#include <string>
#include <vector>

#include "model/Id3v1Tag.h"

using Texts = std::vector<std::string>;

// A fresh folder under the temporary folder, removed with everything in it at the end.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_path; } // ends in a backslash
    std::string operator/(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

// Where each field of a tag block starts.
enum TagOffset : unsigned {
    TITLE = 3, ARTIST = 33, ALBUM = 63, YEAR = 93, COMMENT = 97, MARK = 125, TRACK = 126, GENRE = 127
};

// A tag block built byte by byte: "TAG" and zeros, then whatever the test puts in.
struct TagBytes
{
    Id3v1Block bytes{};
    TagBytes();
    TagBytes& Put(unsigned offset, const std::string& text);
    TagBytes& Byte(unsigned offset, unsigned char value);
};

constexpr unsigned MP3_FRAME_SIZE = 417; // MPEG-1 Layer III, 128 kbit/s, 44.1 kHz

// Writes frames of silent MPEG audio, then the tag block when one is given.
void WriteMp3(const std::string& path, unsigned frames, const Id3v1Block* tag = nullptr);
void WriteMp3(const std::string& path, unsigned frames, const TagBytes& tag);
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// Sets the read-only attribute; false when the file stays writable all the same (under Wine
// a process running as root can write to any file).
bool MakeReadOnly(const std::string& path);

// Every name in a folder (path ending in a backslash), as the disk spells it, sorted.
std::vector<std::string> Listing(const std::string& folder);

std::vector<unsigned char> ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
unsigned long long FileSize(const std::string& path);
// FNV-1a of the first count bytes of a file (all when count is larger).
unsigned long long HashPrefix(const std::string& path, size_t count);
