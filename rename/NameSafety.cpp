#include "NameSafety.h"

#include <cstring>

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

} // namespace

bool IsUnsafeFileName(const std::string& name)
{
    if (!name.empty() && IsSeparator(name[0]))
        return true;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32 || std::strchr(":<>\"|?*", c) != nullptr)
            return true;
    }
    size_t start = 0;
    for (;;) {
        size_t end = start;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        if (name.compare(start, end - start, "..") == 0)
            return true;
        if (end == name.size())
            return false;
        start = end + 1;
    }
}
