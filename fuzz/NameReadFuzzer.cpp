// Reads fields from paths by formats. For any format and path: every text read is a
// non-empty piece of the path without spaces at its ends, numbers are in range, and on short
// names the reading equals a plain backtracking one. A name built by putting field texts
// into a readable format reads back as those texts, unless a literal could end a field early.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "FormatReference.h"
#include "model/PathText.h"
#include "rename/NameReader.h"

namespace {

const char* const Words[] = {"title", "artist", "album", "genre", "year", "track", "comment"};

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameAt(const std::string& text, size_t at, const std::string& literal)
{
    if (at > text.size() || text.size() - at < literal.size())
        return false;
    for (size_t i = 0; i < literal.size(); ++i) {
        if (Lower(text[at + i]) != Lower(literal[i]))
            return false;
    }
    return true;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::string TrimSpaces(const std::string& text)
{
    const size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return "";
    return text.substr(begin, text.find_last_not_of(' ') + 1 - begin);
}

int GenreIndex(const std::string& name)
{
    for (int i = 0; i < GENRE_COUNT; ++i) {
        const std::string genre = GenreTable[i];
        if (genre.size() == name.size() && SameAt(name, 0, genre))
            return i;
    }
    return -1;
}

std::string SomeBytes(FuzzedDataProvider& in, size_t most)
{
    return in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, most));
}

// A format or path from pieces that make readable formats and matching names common.
std::string SomeText(FuzzedDataProvider& in, bool format)
{
    std::string text = format ? "" : in.PickValueInArray({"", "C:\\", "\\\\s\\h\\", "x\\"});
    const int pieces = in.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < pieces; ++i) {
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0: text += SomeBytes(in, 6); break;
        case 1:
            text += format ? "[" + std::string(Words[in.ConsumeIntegralInRange(0, 6)]) + "]"
                           : GenreTable[in.ConsumeIntegralInRange(0, GENRE_COUNT - 1)];
            break;
        case 2: text += in.PickValueInArray({"\\", "/", "[", "]", ".mp3", ".MP3"}); break;
        case 3: text += std::to_string(in.ConsumeIntegralInRange(0, 300)); break;
        case 4: text += in.PickValueInArray({" ", "  ", "a", "aa", "A"}); break;
        default: text += " - "; break;
        }
    }
    return text;
}

// ---- A plain reading: split the path, then try every field end, shortest first.

bool FitsField(TagField field, const std::string& text)
{
    if (text.empty())
        return false;
    if (field == TF_YEAR)
        return text.size() <= 4;
    if (field != TF_TRACK)
        return true;
    if (text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const size_t first = text.find_first_not_of('0');
    return first == std::string::npos ||
           (text.size() - first <= 3 && std::stoi(text.substr(first)) <= 255);
}

// Matches pattern[pi..] of one part against text[ti..]; texts[slot] is filled per field.
bool Backtrack(const std::string& pattern, size_t pi, const std::string& text, size_t ti,
               const ref::CompiledFormat& format, size_t slot, std::vector<std::string>* texts)
{
    if (pi == pattern.size())
        return ti == text.size();
    if (pattern[pi] != CNameFormat::PLACEHOLDER) {
        return ti < text.size() && Lower(pattern[pi]) == Lower(text[ti]) &&
               Backtrack(pattern, pi + 1, text, ti + 1, format, slot, texts);
    }
    for (size_t end = ti; end <= text.size(); ++end) {
        const std::string field = TrimSpaces(text.substr(ti, end - ti));
        if (!FitsField(format.fields[slot], field))
            continue;
        (*texts)[slot] = field;
        if (Backtrack(pattern, pi + 1, text, end, format, slot + 1, texts))
            return true;
    }
    return false;
}

void Store(TagField field, const std::string& text, NameFields* out)
{
    switch (field) {
    case TF_TITLE: out->title = {true, text}; break;
    case TF_ARTIST: out->artist = {true, text}; break;
    case TF_ALBUM: out->album = {true, text}; break;
    case TF_YEAR: out->year = {true, text}; break;
    case TF_COMMENT: out->comment = {true, text}; break;
    case TF_TRACK: {
        const size_t first = text.find_first_not_of('0');
        const int track = first == std::string::npos ? 0 : std::stoi(text.substr(first));
        out->track = {track != 0, track};
        break;
    }
    case TF_GENRE: {
        const int genre = GenreIndex(text);
        out->genre = {genre >= 0, genre >= 0 ? genre : GENRE_NONE};
        break;
    }
    default: break;
    }
}

enum class Verdict { MATCH, NO_MATCH, SKIPPED };

// The format must be readable. Parts longer than 16 bytes are skipped, as the search takes
// exponential time, and so are formats with a zero byte, which the rename format refuses.
Verdict ReadPlainly(std::string formatText, const std::string& path, NameFields* out)
{
    if (formatText.size() >= 4 && SameAt(formatText, formatText.size() - 4, ".mp3"))
        formatText.resize(formatText.size() - 4);
    const ref::CompiledFormat format = ref::Compile(formatText);
    if (!format.valid)
        return Verdict::SKIPPED;
    std::vector<std::string> patterns(1);
    for (char c : format.pattern) {
        if (IsSeparator(c))
            patterns.emplace_back();
        else
            patterns.back() += c;
    }
    std::vector<std::string> names(1);
    for (char c : path) {
        if (c == '\\')
            names.emplace_back();
        else
            names.back() += c;
    }
    std::string file = names.back();
    names.pop_back();
    if (file.size() >= 4 && SameAt(file, file.size() - 4, ".mp3"))
        file.resize(file.size() - 4);
    if (path.compare(0, 2, "\\\\") == 0)
        names.erase(names.begin(), names.begin() + std::min<size_t>(4, names.size()));
    else if (!names.empty() && names[0].size() >= 2 && names[0][1] == ':' &&
             ((names[0][0] | 0x20) >= 'a' && (names[0][0] | 0x20) <= 'z'))
        names[0].erase(0, 2);
    std::vector<std::string> folders;
    for (const std::string& name : names) {
        if (!name.empty())
            folders.push_back(name);
    }
    folders.push_back(file);
    if (folders.size() < patterns.size())
        return Verdict::NO_MATCH;

    std::vector<std::string> texts(FORMAT_SLOTS);
    size_t slot = 0;
    for (size_t i = 0; i < patterns.size(); ++i) {
        const std::string& text = folders[folders.size() - patterns.size() + i];
        if (text.size() > 16)
            return Verdict::SKIPPED;
        if (!Backtrack(patterns[i], 0, text, 0, format, slot, &texts))
            return Verdict::NO_MATCH;
        for (char c : patterns[i])
            slot += c == CNameFormat::PLACEHOLDER;
    }
    for (size_t i = 0; i < slot; ++i)
        Store(format.fields[i], texts[i], out);
    return Verdict::MATCH;
}

bool SameFields(const NameFields& a, const NameFields& b)
{
    auto same = [](const NameText& x, const NameText& y) {
        return x.has == y.has && x.text == y.text;
    };
    return same(a.title, b.title) && same(a.artist, b.artist) && same(a.album, b.album) &&
           same(a.year, b.year) && same(a.comment, b.comment) && a.track.has == b.track.has &&
           a.track.value == b.track.value && a.genre.has == b.genre.has &&
           a.genre.value == b.genre.value;
}

void CheckAnyReading(const std::string& format, const std::string& path)
{
    const CNameReader reader(format);
    NameFields fields;
    if (!reader.Read(path, &fields)) {
        if (reader.Error() == NameReadError::NONE && path.size() <= 512) {
            NameFields plain;
            FUZZ_CHECK(ReadPlainly(format, path, &plain) != Verdict::MATCH);
        }
        return;
    }
    FUZZ_CHECK(reader.Error() == NameReadError::NONE);
    for (const NameText* text : {&fields.title, &fields.artist, &fields.album, &fields.year,
                                 &fields.comment}) {
        if (!text->has)
            continue;
        FUZZ_CHECK(!text->text.empty() && path.find(text->text) != std::string::npos);
        FUZZ_CHECK(text->text.front() != ' ' && text->text.back() != ' ');
        FUZZ_CHECK(text->text.find('\\') == std::string::npos);
    }
    FUZZ_CHECK(!fields.year.has || fields.year.text.size() <= 4);
    FUZZ_CHECK(fields.track.has ? fields.track.value >= 1 && fields.track.value <= 255
                                : fields.track.value == 0);
    FUZZ_CHECK(fields.genre.has ? fields.genre.value >= 0 && fields.genre.value < GENRE_COUNT
                                : fields.genre.value == GENRE_NONE);
    NameFields plain;
    const Verdict verdict = ReadPlainly(format, path, &plain);
    FUZZ_CHECK(verdict != Verdict::NO_MATCH);
    FUZZ_CHECK(verdict != Verdict::MATCH || SameFields(fields, plain));
}

// ---- Round trip: a format from fields and literals, a name from field texts.

std::string FieldText(FuzzedDataProvider& in, TagField field)
{
    if (field == TF_TRACK)
        return std::string(in.ConsumeIntegralInRange(0, 2), '0') +
               std::to_string(in.ConsumeIntegralInRange(0, 255));
    if (field == TF_GENRE)
        return GenreTable[in.ConsumeIntegralInRange(0, GENRE_COUNT - 1)];
    std::string text = SomeBytes(in, field == TF_YEAR ? 4 : 20);
    for (char& c : text) {
        if (c == '\\')
            c = '_';
    }
    text = TrimSpaces(text);
    return text.empty() ? "x" : text;
}

void CheckRoundTrip(FuzzedDataProvider& in)
{
    std::vector<TagField> unused = {TF_TITLE, TF_ARTIST, TF_ALBUM, TF_GENRE,
                                    TF_YEAR,  TF_TRACK,  TF_COMMENT};
    const size_t count = in.ConsumeIntegralInRange<size_t>(1, FORMAT_SLOTS);
    std::vector<TagField> fields;
    std::vector<std::string> literals;
    std::vector<std::string> texts;
    std::string format;
    std::string name;
    size_t starts[FORMAT_SLOTS];
    for (size_t i = 0; i <= count; ++i) {
        std::string literal = SomeBytes(in, 6);
        for (char& c : literal) {
            if (c == '[')
                c = '(';
        }
        if (literal.empty() && i > 0 && i < count)
            literal = " - ";
        literals.push_back(literal);
        format += literal;
        for (char c : literal)
            name += IsSeparator(c) ? '\\' : c;
        if (i == count)
            break;
        const size_t pick = in.ConsumeIntegralInRange<size_t>(0, unused.size() - 1);
        fields.push_back(unused[pick]);
        unused.erase(unused.begin() + pick);
        format += "[" + std::string(Words[fields.back()]) + "]";
        texts.push_back(FieldText(in, fields.back()));
        starts[i] = name.size();
        name += texts.back();
    }
    const CNameReader reader(format);
    if (reader.Error() == NameReadError::EMPTY_PART)
        return;
    FUZZ_CHECK(reader.Error() == NameReadError::NONE);

    // A field ends where its own literal first matches; it must not match inside the text.
    for (size_t i = 0; i < count; ++i) {
        const std::string& after = literals[i + 1];
        const std::string piece = after.substr(0, std::min(after.find('\\'), after.find('/')));
        const size_t end = starts[i] + texts[i].size();
        for (size_t at = starts[i] + 1; at < end && piece == after; ++at) {
            if (SameAt(name, at, piece))
                return;
        }
    }
    const bool withExtension = format.size() >= 4 && SameAt(format, format.size() - 4, ".mp3");
    const std::string extension = withExtension ? "" : in.ConsumeBool() ? ".mp3" : ".Mp3";
    const std::string path = "C:\\" + name + extension;
    NameFields read;
    FUZZ_CHECK(reader.Read(path, &read));
    NameFields expected;
    for (size_t i = 0; i < count; ++i)
        Store(fields[i], texts[i], &expected);
    FUZZ_CHECK(SameFields(read, expected));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 512)
        return -1;
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        CheckRoundTrip(in);
    } else {
        const std::string format = SomeText(in, true);
        CheckAnyReading(format, SomeText(in, false));
    }
    return 0;
}
