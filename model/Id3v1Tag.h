#pragma once
#include <array>
#include <string>

// The ID3v1 tag: the last 128 bytes of an MP3 file. Plain byte work, no file access.
constexpr unsigned ID3V1_SIZE = 128;
using Id3v1Block = std::array<unsigned char, ID3V1_SIZE>;

struct Id3v1Fields
{
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    int track = 0;   // 0: no track number
    int genre = 255; // GENRE_NONE
};

// True when the block begins with the upper-case magic "TAG".
bool HasId3v1Magic(const Id3v1Block& block);

// Reads the fields of a block that has the magic. Texts end at their first zero byte or
// slot end; title, artist, album and comment lose trailing white space, the year keeps it.
Id3v1Fields DecodeId3v1(const Id3v1Block& block);

// Builds a block from the fields: texts up to their first zero byte and cut to their slots
// (the rest of a slot stays zero), the track clamped to 0..255 (its presence decides between
// the 28- and the 30-byte comment), the genre's low byte.
Id3v1Block EncodeId3v1(const Id3v1Fields& fields);

// The white space of the "C" locale's classification, safe for bytes above 127.
bool IsCSpace(unsigned char c);
