// Decodes arbitrary 128-byte blocks. The block lives alone on the heap, so AddressSanitizer
// stops any read outside its 128 bytes; the fields must match a byte-by-byte reading of the
// slots, and encoding them again must decode to the same fields.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "FuzzSupport.h"
#include "model/Id3v1Tag.h"

namespace {

// The bytes of a slot up to its first zero byte or its end.
std::string Slot(const Id3v1Block& block, size_t offset, size_t width)
{
    std::string text;
    for (size_t i = offset; i < offset + width && block[i] != 0; ++i)
        text += static_cast<char>(block[i]);
    return text;
}

bool SameFields(const Id3v1Fields& a, const Id3v1Fields& b)
{
    return a.title == b.title && a.artist == b.artist && a.album == b.album && a.year == b.year &&
           a.comment == b.comment && a.track == b.track && a.genre == b.genre;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > ID3V1_SIZE)
        return -1; // keeps the corpus to whole blocks and shorter
    auto block = std::make_unique<Id3v1Block>(); // zero bytes after a short input
    for (size_t i = 0; i < size; ++i)
        (*block)[i] = data[i];
    const Id3v1Block& b = *block;

    FUZZ_CHECK(HasId3v1Magic(b) == (b[0] == 'T' && b[1] == 'A' && b[2] == 'G'));

    const Id3v1Fields f = DecodeId3v1(b);
    FUZZ_CHECK(f.title == ref::TrimTrailingSpace(Slot(b, 3, 30)));
    FUZZ_CHECK(f.artist == ref::TrimTrailingSpace(Slot(b, 33, 30)));
    FUZZ_CHECK(f.album == ref::TrimTrailingSpace(Slot(b, 63, 30)));
    FUZZ_CHECK(f.year == Slot(b, 93, 4));
    const bool hasTrack = b[125] == 0;
    FUZZ_CHECK(f.comment == ref::TrimTrailingSpace(Slot(b, 97, hasTrack ? 28 : 30)));
    FUZZ_CHECK(f.track == (hasTrack ? b[126] : 0));
    FUZZ_CHECK(f.genre == b[127]);

    // Decoded fields are a fixed point of encode then decode.
    FUZZ_CHECK(SameFields(DecodeId3v1(EncodeId3v1(f)), f));
    return 0;
}
