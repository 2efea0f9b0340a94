#pragma once
#include <string>

// Track numbers typed by the user.

// Reads a number the way atoi does (leading white space, an optional sign, digits up to the
// first other character; 0 without digits), saturating instead of overflowing.
int ParseTrackNumber(const std::string& text);

// The range a tag can hold.
inline int ClampTrack(int track)
{
    return track < 0 ? 0 : (track > 255 ? 255 : track);
}
