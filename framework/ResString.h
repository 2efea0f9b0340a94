#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

#include "FrameworkIds.h"

// A text from the string table; empty when there is none.
std::string LoadResString(UINT id);

// A text from the string table with printf-style fields filled in.
template <typename... Args>
std::string FormatResString(UINT id, Args... args)
{
    const std::string format = LoadResString(id);
    const int length = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), format.c_str(), args...);
    text.resize(static_cast<size_t>(length));
    return text;
}
