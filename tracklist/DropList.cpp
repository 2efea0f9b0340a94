#include "DropList.h"

namespace {

constexpr size_t HEADER_SIZE = 20; // DROPFILES: pFiles, pt, fNC, fWide

unsigned long ReadLittle32(const unsigned char* bytes)
{
    return bytes[0] | (static_cast<unsigned long>(bytes[1]) << 8) | (static_cast<unsigned long>(bytes[2]) << 16) |
           (static_cast<unsigned long>(bytes[3]) << 24);
}

// Units of a list of zero-ended names; a name cut off by the end of the block is dropped.
template <class Unit, class Name>
void ReadNames(const Unit* units, size_t count, std::vector<Name>& names)
{
    size_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        if (units[i] != 0)
            continue;
        if (i == start)
            return; // two zeros: the end of the list
        names.emplace_back(units + start, units + i);
        start = i + 1;
    }
}

} // namespace

DropList ReadDropList(const unsigned char* block, size_t size)
{
    DropList list;
    if (!block || size < HEADER_SIZE)
        return list;
    const unsigned long offset = ReadLittle32(block);
    list.wide = ReadLittle32(block + 16) != 0;
    if (offset < HEADER_SIZE || offset >= size)
        return list;
    const unsigned char* start = block + offset;
    const size_t bytes = size - offset;
    if (list.wide) {
        // Copied out unit by unit: the block need not be aligned for char16_t.
        std::u16string units(bytes / 2, u'\0');
        for (size_t i = 0; i < units.size(); ++i)
            units[i] = static_cast<char16_t>(start[2 * i] | (start[2 * i + 1] << 8));
        ReadNames(units.data(), units.size(), list.wideNames);
    } else {
        ReadNames(reinterpret_cast<const char*>(start), bytes, list.names);
    }
    return list;
}
