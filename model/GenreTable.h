#pragma once
#include <string>

// Names of the ID3v1 genre numbers 0..147 (the format's list and its customary extension).
constexpr int GENRE_COUNT = 148;
constexpr int GENRE_NONE = 255;

extern const char* const GenreTable[GENRE_COUNT];

// The name of a genre number; empty for every number the table does not name.
std::string GetGenreName(int genre);
