#include "CommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/WideText.h"

namespace {

std::wstring FullPath(const wchar_t* path)
{
    const DWORD length = GetFullPathNameW(path, 0, nullptr, nullptr);
    std::wstring full(length, L'\0');
    const DWORD written = length ? GetFullPathNameW(path, length, &full[0], nullptr) : 0;
    if (written == 0 || written >= length)
        return path;
    full.resize(written);
    return full;
}

} // namespace

std::vector<std::string> PathsOnCommandLine(const std::wstring& commandLine)
{
    std::vector<std::string> paths;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(commandLine.c_str(), &count);
    if (!words)
        return paths;
    for (int i = 1; i < count; ++i) {
        if (words[i][0] != L'\0')
            paths.push_back(Narrow(FullPath(words[i])));
    }
    LocalFree(words);
    return paths;
}
