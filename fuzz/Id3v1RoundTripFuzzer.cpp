// Encodes random fields and decodes the block again. What comes back is each text up to its
// first zero byte and cut to its slot (30 bytes; the year 4; the comment 28 when the track is
// not 0, else 30), then title, artist, album and comment without trailing C-locale white
// space (the year keeps it); the track is 0 when it was 0, else clamped to 0..255; the genre
// is its low byte.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "model/Id3v1Tag.h"

namespace {

std::string Expected(const std::string& text, size_t width, bool trim)
{
    const std::string cut = ref::Cut(ref::UpToZero(text), width);
    return trim ? ref::TrimTrailingSpace(cut) : cut;
}

// Mostly numbers near the byte range, sometimes any int.
int SomeNumber(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(-3, 300) : in.ConsumeIntegral<int>();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 512)
        return -1;
    FuzzedDataProvider in(data, size);
    Id3v1Fields f;
    f.track = SomeNumber(in);
    f.genre = SomeNumber(in);
    f.title = in.ConsumeRandomLengthString(40);
    f.artist = in.ConsumeRandomLengthString(40);
    f.album = in.ConsumeRandomLengthString(40);
    f.year = in.ConsumeRandomLengthString(8);
    f.comment = in.ConsumeRemainingBytesAsString();

    const Id3v1Block block = EncodeId3v1(f);
    FUZZ_CHECK(HasId3v1Magic(block));
    const Id3v1Fields back = DecodeId3v1(block);

    FUZZ_CHECK(back.title == Expected(f.title, 30, true));
    FUZZ_CHECK(back.artist == Expected(f.artist, 30, true));
    FUZZ_CHECK(back.album == Expected(f.album, 30, true));
    FUZZ_CHECK(back.year == Expected(f.year, 4, false));
    FUZZ_CHECK(back.comment == Expected(f.comment, f.track != 0 ? 28 : 30, true));
    FUZZ_CHECK(back.track == (f.track == 0 ? 0 : std::clamp(f.track, 0, 255)));
    FUZZ_CHECK(back.genre == (f.genre & 0xFF));
    return 0;
}
