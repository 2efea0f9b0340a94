// Reads arbitrary drop blocks. The block lives alone on the heap, so AddressSanitizer stops any
// read outside it; every name must be a run of the list that holds no zero, and a block made
// from chosen names must give them back in order.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "tracklist/DropList.h"

namespace {

// A drop block of the names, as the shell makes it.
std::vector<unsigned char> MakeBlock(const std::vector<std::string>& names, bool wide)
{
    std::vector<unsigned char> block(20, 0);
    block[0] = 20;
    block[16] = wide;
    for (const std::string& name : names) {
        for (char c : name) {
            block.push_back(static_cast<unsigned char>(c));
            if (wide)
                block.push_back(0x01); // some high byte, never a zero unit
        }
        block.insert(block.end(), wide ? 2 : 1, 0);
    }
    block.insert(block.end(), wide ? 2 : 1, 0);
    return block;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<unsigned char[]> block(new unsigned char[size ? size : 1]);
    std::copy(data, data + size, block.get());
    const DropList list = ReadDropList(block.get(), size);
    for (const std::string& name : list.names)
        FUZZ_CHECK(!name.empty() && name.find('\0') == std::string::npos && name.size() < size);
    for (const std::u16string& name : list.wideNames)
        FUZZ_CHECK(!name.empty() && name.find(u'\0') == std::u16string::npos && name.size() * 2 < size);

    // The input as names separated by zero bytes (no empty ones) round-trips in both forms.
    std::vector<std::string> names;
    std::string name;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] != 0) {
            name += static_cast<char>(data[i]);
        } else if (!name.empty()) {
            names.push_back(name);
            name.clear();
        }
    }
    if (!name.empty())
        names.push_back(name);
    for (bool wide : {false, true}) {
        const std::vector<unsigned char> made = MakeBlock(names, wide);
        const DropList back = ReadDropList(made.data(), made.size());
        FUZZ_CHECK(back.wide == wide);
        FUZZ_CHECK((wide ? back.wideNames.size() : back.names.size()) == names.size());
        for (size_t i = 0; i < names.size() && !wide; ++i)
            FUZZ_CHECK(back.names[i] == names[i]);
        for (size_t i = 0; i < names.size() && wide; ++i)
            FUZZ_CHECK(back.wideNames[i].size() == names[i].size());
    }
    return 0;
}
