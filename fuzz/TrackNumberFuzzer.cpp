// Checks ParseTrackNumber against a second reading of its rule: leading C-locale white space,
// an optional sign, the digits up to the first other byte, saturated to the int range.
#include <climits>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "model/TrackNumber.h"

namespace {

int Reference(const std::string& text)
{
    size_t i = text.find_first_not_of(std::string(" \t\n\v\f\r"));
    if (i == std::string::npos)
        return 0;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    std::string digits;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        digits += text[i++];
    const size_t first = digits.find_first_not_of('0');
    digits = first == std::string::npos ? std::string() : digits.substr(first);
    if (digits.size() > 10)
        return negative ? INT_MIN : INT_MAX;
    long long value = digits.empty() ? 0 : std::stoll(digits);
    if (negative)
        value = -value;
    return value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int>(value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64)
        return -1;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int track = ParseTrackNumber(text);
    FUZZ_CHECK(track == Reference(text));
    const int clamped = ClampTrack(track);
    FUZZ_CHECK(clamped >= 0 && clamped <= 255);
    FUZZ_CHECK(clamped == (track < 0 ? 0 : (track > 255 ? 255 : track)));
    return 0;
}
