#include "FolderWalk.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "framework/WideText.h"
#include "tracklist/TrackCollection.h"

namespace {

struct Entry
{
    std::wstring name;
    bool folder;
};

bool ExplorerOrder(const Entry& a, const Entry& b)
{
    return StrCmpLogicalW(a.name.c_str(), b.name.c_str()) < 0;
}

// The entries of one folder worth walking, in Explorer's order (the disk's own order is not
// the same on every file system).
std::vector<Entry> ListFolder(const std::wstring& folder)
{
    std::vector<Entry> entries;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return entries;
    const DWORD skipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L".." || (data.dwFileAttributes & skipped))
            continue;
        entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(entries.begin(), entries.end(), ExplorerOrder);
    return entries;
}

std::uint64_t Fnv1a(const void* data, size_t size, std::uint64_t hash = 14695981039346656037ull)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

} // namespace

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A full path with no "." or ".." parts and one kind of separator is its own full path.
static bool IsPlainFullPath(const std::wstring& path)
{
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\' || path.find(L'/') != std::wstring::npos)
        return false;
    return path.find(L"\\.") == std::wstring::npos && path.find(L"\\\\") == std::wstring::npos &&
           path.back() != L' ' && path.back() != L'.';
}

std::uint64_t PathKey(const std::string& path)
{
    std::wstring wide = Widen(path);
    const DWORD length = IsPlainFullPath(wide) ? 0 : GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length > 0) {
        std::wstring full(length, L'\0');
        const DWORD written = GetFullPathNameW(wide.c_str(), length, &full[0], nullptr);
        if (written > 0 && written < length) {
            full.resize(written);
            wide = full;
        }
    }
    if (!wide.empty())
        CharUpperBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    return Fnv1a(wide.data(), wide.size() * sizeof(wchar_t));
}

bool CFolderWalker::FirstVisit(const std::string& folder)
{
    // Under Wine a link to a folder can look like a plain folder: its identity tells.
    HANDLE handle = CreateFileW(Widen(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != FALSE;
    CloseHandle(handle);
    if (!known)
        return m_visited.insert(PathKey(folder)).second;
    const DWORD identity[3] = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return m_visited.insert(Fnv1a(identity, sizeof identity)).second;
}

bool CFolderWalker::Walk(const std::string& folder, const std::function<bool(const std::string& path)>& found)
{
    const std::string base = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
    if (!FirstVisit(base))
        return true;
    const std::vector<Entry> entries = ListFolder(Widen(base));
    for (const Entry& entry : entries) {
        if (entry.folder)
            continue;
        const std::string path = base + Narrow(entry.name);
        if (HasMp3Ending(path) && !found(path))
            return false;
    }
    for (const Entry& entry : entries) {
        if (entry.folder && !Walk(base + Narrow(entry.name), found))
            return false;
    }
    return true;
}
