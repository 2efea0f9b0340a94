#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The paths of a drop, read in one pass from the drop handle's block: a DROPFILES header (the
// offset of the list at its start, a wide-names flag at byte 16), then names one after another,
// each ending in a zero, the list in two. Nothing outside the block is read; a list that runs
// off its end keeps the names that ended inside it.
struct DropList
{
    bool wide = false;
    std::vector<std::string> names;        // 8-bit names, when !wide
    std::vector<std::u16string> wideNames; // when wide
};

DropList ReadDropList(const unsigned char* block, size_t size);
