#include "ResString.h"

std::string LoadResString(UINT id)
{
    char buffer[4096]; // the longest text a string resource may hold
    const int copied = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, static_cast<size_t>(copied > 0 ? copied : 0));
}
