#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "model/GenreTable.h"

// Names as other taggers write them, their misspellings included; none outside the table.
TEST(GenreTable, NamesTheNumbersInsideTheTableOnly)
{
    const std::pair<int, const char*> cases[] = {
        {0, "Blues"}, {17, "Rock"}, {67, "Psychadelic"}, {85, "Bebob"}, {118, "Rhytmic Soul"},
        {123, "A Capella"}, {144, "Trash Metal"}, {147, "SynthPop"},
        {-1, ""}, {148, ""}, {200, ""}, {254, ""}, {GENRE_NONE, ""}, {256, ""}, {100000, ""},
    };
    for (const auto& [genre, name] : cases)
        EXPECT_EQ(GetGenreName(genre), name) << genre;
}

TEST(GenreTable, NamesAreDistinctIgnoringCase)
{
    std::set<std::string> folded;
    for (int i = 0; i < GENRE_COUNT; ++i) {
        std::string name = GenreTable[i];
        ASSERT_FALSE(name.empty()) << i;
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_TRUE(folded.insert(name).second) << "duplicate: " << GenreTable[i];
    }
}
