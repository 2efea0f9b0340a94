#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "model/GenreTable.h"

TEST(GenreTable, NamesNumbersInsideTheTable)
{
    EXPECT_EQ(GetGenreName(0), "Blues");
    EXPECT_EQ(GetGenreName(17), "Rock");
    EXPECT_EQ(GetGenreName(67), "Psychadelic");
    EXPECT_EQ(GetGenreName(85), "Bebob");
    EXPECT_EQ(GetGenreName(118), "Rhytmic Soul");
    EXPECT_EQ(GetGenreName(123), "A Capella");
    EXPECT_EQ(GetGenreName(144), "Trash Metal");
    EXPECT_EQ(GetGenreName(147), "SynthPop");
}

TEST(GenreTable, GivesEmptyTextOutsideTheTable)
{
    for (int genre : {-1, 148, 200, 254, GENRE_NONE, 256, 100000})
        EXPECT_EQ(GetGenreName(genre), "") << genre;
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

TEST(GenreTable, AllNamesInOrderAreExact)
{
    // Every name joined with '|' in table order: a typo anywhere shows up here.
    std::string joined;
    for (int i = 0; i < GENRE_COUNT; ++i)
        joined += std::string(GenreTable[i]) + "|";
    EXPECT_EQ(joined,
        "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|New Age|Oldies|Other|"
        "Pop|R&B|Rap|Reggae|Rock|Techno|Industrial|Alternative|Ska|Death Metal|Pranks|Soundtrack|"
        "Euro-Techno|Ambient|Trip Hop|Vocal|Jazz Funk|Fusion|Trance|Classical|Instrumental|Acid|House|"
        "Game|Sound Clip|Gospel|Noise|Alternative Rock|Bass|Soul|Punk|Space|Meditative|"
        "Instrumental Pop|Instrumental Rock|Ethnic|Gothic|Darkwave|Techno-Industrial|Electronic|"
        "Pop Folk|Eurodance|Dream|Southern Rock|Comedy|Cult|Gangsta|Top 40|Christian Rap|Pop Funk|"
        "Jungle|Native American|Cabaret|New Wave|Psychadelic|Rave|ShowTunes|Trailer|Lo-Fi|Tribal|"
        "Acid Punk|Acid Jazz|Polka|Retro|Musical|Rock & Roll|Hard Rock|Folk|Folk Rock|National Folk|"
        "Swing|Fast Fusion|Bebob|Latin|Revival|Celtic|Bluegrass|Avantgarde|Gothic Rock|"
        "Progressive Rock|Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|Easy Listening|"
        "Acoustic|Humour|Speech|Chanson|Opera|Chamber Music|Sonata|Symphony|Booty Bass|Primus|"
        "Porn Groove|Satire|Slow Jam|Club|Tango|Samba|Folklore|Ballad|Power Ballad|Rhytmic Soul|"
        "Freestyle|Duet|Punk Rock|Drum Solo|A Capella|Euro House|Dance Hall|Goa|Drum & Bass|"
        "Club House|Hardcore|Terror|Indie|BritPop|Negerpunk|Polsk Punk|Beat|Christian Gangsta Rap|"
        "Heavy Metal|Black Metal|Crossover|Contemporary Christian|Christian Rock|Merengue|Salsa|"
        "Trash Metal|Anime|JPop|SynthPop|");
}
