#pragma once
// Shared pieces of the fuzz targets: a property check that stops the run, and plain reference
// versions of small text rules, written apart from the code under test.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// A failed property aborts, so libFuzzer saves the input as a crash.
#define FUZZ_CHECK(cond)                                                                \
    do {                                                                                \
        if (!(cond))                                                                    \
            FuzzCheckFailed(#cond, __FILE__, __LINE__);                                 \
    } while (0)

[[noreturn]] inline void FuzzCheckFailed(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "property failed: %s (%s:%d)\n", what, file, line);
    std::abort();
}

namespace ref {

// The white space of the "C" locale; the zero byte is not one.
inline bool IsSpace(char c)
{
    return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr;
}

// Text up to its first zero byte.
inline std::string UpToZero(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

inline std::string Cut(const std::string& text, size_t width)
{
    return text.size() > width ? text.substr(0, width) : text;
}

inline std::string TrimTrailingSpace(std::string text)
{
    while (!text.empty() && IsSpace(text.back()))
        text.pop_back();
    return text;
}

inline bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The unsafe-name rule, written out step by step: a leading separator, a colon, one of
// < > " | ? *, a byte below 32, or a ".." segment between separators.
inline bool IsUnsafeName(const std::string& name)
{
    if (!name.empty() && IsSeparator(name.front()))
        return true;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || c == ':' || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' ||
            c == '*')
            return true;
    }
    std::string segment;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || IsSeparator(name[i])) {
            if (segment == "..")
                return true;
            segment.clear();
        } else {
            segment += name[i];
        }
    }
    return false;
}

// True when some ".." stands alone between separators or the name's ends.
inline bool HasDotDotSegment(const std::string& name)
{
    for (size_t at = name.find(".."); at != std::string::npos; at = name.find("..", at + 1)) {
        const bool openStart = at == 0 || IsSeparator(name[at - 1]);
        const bool openEnd = at + 2 == name.size() || IsSeparator(name[at + 2]);
        if (openStart && openEnd)
            return true;
    }
    return false;
}

// True when the name, taken relative to a folder, resolves inside that folder: not rooted,
// no drive, and no ".." that climbs above the start.
inline bool StaysInFolder(const std::string& name)
{
    if (!name.empty() && IsSeparator(name.front()))
        return false;
    if (name.find(':') != std::string::npos)
        return false;
    long depth = 0;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        const std::string segment = name.substr(start, end - start);
        if (segment == "..") {
            if (--depth < 0)
                return false;
        } else if (!segment.empty() && segment != ".") {
            ++depth;
        }
        start = end + 1;
    }
    return true;
}

} // namespace ref
