#pragma once
#include <cstddef>
#include <string>

// The ID3v2 tag at the start of an MP3 file, read only: its text frames give the fields an
// ID3v1 tag can hold. Plain byte work, no file access.
constexpr unsigned ID3V2_HEADER_SIZE = 10;

struct Id3v2Header
{
    int version = 0;         // major version: 2, 3 or 4
    unsigned char flags = 0;
    unsigned long size = 0;  // bytes after the header, without a 2.4 footer; below 256 MB
};

// True when the first bytes are an ID3v2 header: "ID3", major version 2 to 4, a revision
// other than 0xFF and four size bytes below 0x80. Fills the header only then.
bool ParseId3v2Header(const unsigned char* bytes, size_t length, Id3v2Header* header);

struct Id3v2Text
{
    bool has = false;
    std::string text; // UTF-8 without leading or trailing white space; never empty when has
};

struct Id3v2Fields
{
    int version = 0; // 0: the bytes hold no ID3v2 header
    Id3v2Text title;
    Id3v2Text artist;
    Id3v2Text album;
    Id3v2Text year;  // at most four characters
    Id3v2Text comment;
    bool hasTrack = false;
    int track = 0;   // 1..255 when hasTrack
    bool hasGenre = false;
    int genre = 255; // index into GenreTable when hasGenre, else GENRE_NONE
};

// Reads the tag whose header starts at `tag`; `length` bytes are there to read. Frames are
// read up to the tag's size or the end of the bytes, whichever comes first. A field keeps
// the first frame that gives it a value; values that are empty after trimming count as none.
Id3v2Fields ReadId3v2(const unsigned char* tag, size_t length);

// Names the version and the fields the tag holds, e.g. "ID3v2.3 tag with Title, Year";
// empty when there is no tag.
std::string DescribeId3v2(const Id3v2Fields& fields);
