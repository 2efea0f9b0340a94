#pragma once
#include <string>

// Names of the ID3v1 genre numbers 0..147 (the format's list and its customary extension).
constexpr int GENRE_COUNT = 148;
constexpr int GENRE_NONE = 255;

extern const char* const GenreTable[GENRE_COUNT];

// The name of a genre number; empty for every number the table does not name.
std::string GetGenreName(int genre);

// The number of the genre of that name, letter case ignored (ASCII); -1 for a name the table lacks.
int FindGenre(const std::string& name);
