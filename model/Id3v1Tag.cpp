#include "Id3v1Tag.h"

#include <algorithm>
#include <cstring>

namespace {

enum SlotOffset : unsigned {
    OFS_TITLE = 3, OFS_ARTIST = 33, OFS_ALBUM = 63, OFS_YEAR = 93, OFS_COMMENT = 97,
    OFS_TRACK_MARK = 125, OFS_TRACK = 126, OFS_GENRE = 127
};
enum SlotWidth : unsigned { TEXT_WIDTH = 30, YEAR_WIDTH = 4, SHORT_COMMENT_WIDTH = 28 };

std::string ReadSlot(const Id3v1Block& block, unsigned offset, unsigned width)
{
    const char* start = reinterpret_cast<const char*>(block.data()) + offset;
    const char* end = std::find(start, start + width, '\0');
    return std::string(start, end);
}

std::string TrimRight(std::string text)
{
    size_t keep = text.size();
    while (keep > 0 && IsCSpace(static_cast<unsigned char>(text[keep - 1])))
        --keep;
    text.resize(keep);
    return text;
}

// Writes the text up to its first zero byte, as far as the slot goes. Bytes after a zero byte
// would be hidden from the decoder, and in the comment slot would turn into a track number.
void WriteSlot(Id3v1Block& block, unsigned offset, unsigned width, const std::string& text)
{
    const size_t length = std::min<size_t>(text.find('\0'), text.size());
    std::memcpy(block.data() + offset, text.data(), std::min<size_t>(length, width));
}

} // namespace

bool IsCSpace(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool HasId3v1Magic(const Id3v1Block& block)
{
    return block[0] == 'T' && block[1] == 'A' && block[2] == 'G';
}

Id3v1Fields DecodeId3v1(const Id3v1Block& block)
{
    Id3v1Fields fields;
    fields.title = TrimRight(ReadSlot(block, OFS_TITLE, TEXT_WIDTH));
    fields.artist = TrimRight(ReadSlot(block, OFS_ARTIST, TEXT_WIDTH));
    fields.album = TrimRight(ReadSlot(block, OFS_ALBUM, TEXT_WIDTH));
    fields.year = ReadSlot(block, OFS_YEAR, YEAR_WIDTH);
    const bool hasTrack = block[OFS_TRACK_MARK] == 0;
    fields.comment = ReadSlot(block, OFS_COMMENT, hasTrack ? SHORT_COMMENT_WIDTH : TEXT_WIDTH);
    fields.track = hasTrack ? block[OFS_TRACK] : 0;
    fields.genre = block[OFS_GENRE];
    fields.comment = TrimRight(fields.comment);
    return fields;
}

Id3v1Block EncodeId3v1(const Id3v1Fields& fields)
{
    Id3v1Block block{};
    std::memcpy(block.data(), "TAG", 3);
    WriteSlot(block, OFS_TITLE, TEXT_WIDTH, fields.title);
    WriteSlot(block, OFS_ARTIST, TEXT_WIDTH, fields.artist);
    WriteSlot(block, OFS_ALBUM, TEXT_WIDTH, fields.album);
    WriteSlot(block, OFS_YEAR, YEAR_WIDTH, fields.year);
    const bool hasTrack = fields.track != 0;
    WriteSlot(block, OFS_COMMENT, hasTrack ? SHORT_COMMENT_WIDTH : TEXT_WIDTH, fields.comment);
    if (hasTrack)
        block[OFS_TRACK] = static_cast<unsigned char>(std::clamp(fields.track, 0, 255));
    block[OFS_GENRE] = static_cast<unsigned char>(fields.genre & 0xFF);
    return block;
}
