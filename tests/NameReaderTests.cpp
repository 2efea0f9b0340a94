#include <gtest/gtest.h>

#include "rename/NameReader.h"

namespace {

// The fields read, in a fixed order; the genre by its name.
std::string Describe(const NameFields& f)
{
    std::string text;
    const std::pair<const char*, const NameText*> texts[] = {
        {"title", &f.title}, {"artist", &f.artist}, {"album", &f.album},
        {"year", &f.year}, {"comment", &f.comment}};
    for (const auto& [name, field] : texts) {
        if (field->has)
            text += std::string(name) + "=" + field->text + ";";
    }
    if (f.track.has)
        text += "track=" + std::to_string(f.track.value) + ";";
    if (f.genre.has)
        text += "genre=" + GetGenreName(f.genre.value) + ";";
    return text;
}

const char* const SevenFields = "[title]a[artist]a[album]a[genre]a[comment]a[year]a[track]";
const char* const NoMatch = "(no match)";

} // namespace

TEST(NameReader, ReadsFieldsOrRefusesTheName)
{
    struct Case { std::string format; std::string path; std::string expected; };
    const Case cases[] = {
        {"[artist] - [title]", "C:\\m\\Anna Berg - Northern Lights.mp3",
         "title=Northern Lights;artist=Anna Berg;"},
        {"[artist] - [title]", "A - B - C", "title=B - C;artist=A;"},
        {"[artist]-[title]", "C:\\x\\  Anna  -  Lights .mp3", "title=Lights;artist=Anna;"},
        {"[artist] - [title]", "A-B.mp3", NoMatch},
        {"[track] Of [title]", "01 of x.mp3", "title=x;track=1;"},
        {"[artist] \xC3\x89 [title]", "a \xC3\xA9 b.mp3", NoMatch},
        // Numbers: leading zeros, the range, 0 as no track; a field that does not fit makes
        // the field before it take more.
        {"[track]-[title]", "007-x.mp3", "title=x;track=7;"},
        {"[track]-[title]", "256-x.mp3", NoMatch},
        {"[track]-[title]", "0-x.mp3", "title=x;"},
        {"[track]-[title]", "+1-x.mp3", NoMatch},
        {"[title] - [track]", "Live - Take 2 - 07.mp3", "title=Live - Take 2;track=7;"},
        {"[year] [title]", "19999 x.mp3", NoMatch},
        {"[artist] [year]", "The Band 1999.mp3", "artist=The Band;year=1999;"},
        {"[genre] - [title]", "rock - x.mp3", "title=x;genre=Rock;"},
        {"[genre] - [title]", "Nonsense - x.mp3", "title=x;"},
        // Empty fields.
        {"[artist] - [title]", " - x.mp3", NoMatch},
        {"[artist] - [title]", "    - x.mp3", NoMatch},
        {"[title]", "C:\\m\\.mp3", NoMatch},
        // Folders: the drive and a share's root name none.
        {"[artist]\\[album]\\[track]-[title]", "C:\\Music\\Anna Berg\\North\\03-Lights.MP3",
         "title=Lights;artist=Anna Berg;album=North;track=3;"},
        {"[artist]\\[album]\\[track]-[title]", "C:\\North\\03-Lights.mp3", NoMatch},
        {"[artist]/[title]", "\\\\srv\\share\\A\\x.mp3", "title=x;artist=A;"},
        {"[artist]\\[title]", "\\\\srv\\share\\x.mp3", NoMatch},
        {"Music\\[title]", "C:\\music\\x.mp3", "title=x;"},
        {"Music\\[title]", "C:\\Other\\x.mp3", NoMatch},
        // A rename format with its extension reads too.
        {"[title]-[artist].mp3", "C:\\x-y.mp3", "title=x;artist=y;"},
        // Long names must not take exponential time.
        {SevenFields, std::string(1000, 'a'), NoMatch},
        {SevenFields, std::string(1001, 'a') + "7",
         "title=a;artist=a;album=a;year=aaaa;comment=" + std::string(987, 'a') + ";track=7;"},
    };
    for (const Case& c : cases) {
        const CNameReader reader(c.format);
        ASSERT_EQ(reader.Error(), NameReadError::NONE) << c.format;
        NameFields fields;
        const bool read = reader.Read(c.path, &fields);
        EXPECT_EQ(read ? Describe(fields) : NoMatch, c.expected) << c.format << " on " << c.path;
    }
}

TEST(NameReader, FormatsThatCannotBeRead)
{
    const std::pair<const char*, NameReadError> cases[] = {
        {"", NameReadError::EMPTY},
        {"[artist] - [title", NameReadError::UNCLOSED_BRACKET},
        {"x - y.mp3", NameReadError::NO_FIELD},
        {"[artist][title]", NameReadError::ADJACENT_FIELDS},
        {"[title]-[artist]-[album]-[genre]-[year]-[track]-[comment]", NameReadError::NONE},
        {"[title]-[artist]-[album]-[genre]-[year]-[track]-[comment]-[x]",
         NameReadError::TOO_MANY_FIELDS},
        {"[name] - [title]", NameReadError::UNKNOWN_WORD},
        {"[artist] - [ Artist ]", NameReadError::REPEATED_FIELD},
        {"\\[title]", NameReadError::EMPTY_PART},
        {"[artist]\\\\[title]", NameReadError::EMPTY_PART},
        {"[artist]\\.mp3", NameReadError::EMPTY_PART},
    };
    for (const auto& [format, error] : cases) {
        const CNameReader reader(format);
        EXPECT_EQ(reader.Error(), error) << format;
        NameFields fields;
        if (error != NameReadError::NONE) {
            EXPECT_FALSE(reader.Read("C:\\a\\b\\c - d.mp3", &fields)) << format;
        }
    }
}
