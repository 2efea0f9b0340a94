#pragma once
#include <string>

// Windows paths as text: only the backslash separates folders.

// The folder part of a path, up to and including its last backslash; empty when there is none.
inline std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The part after the last backslash; the whole text when there is none.
inline std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
