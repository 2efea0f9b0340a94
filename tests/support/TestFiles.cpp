#include "TestFiles.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

CTempDir::CTempDir()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static unsigned s_counter = 0;
    for (;;) {
        const std::string path = std::string(temp) + "qf" + std::to_string(GetCurrentProcessId()) +
                                 "_" + std::to_string(++s_counter);
        if (CreateDirectoryA(path.c_str(), nullptr)) {
            m_path = path + "\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary folder");
    }
}

CTempDir::~CTempDir()
{
    RemoveTree(m_path);
}

TagBytes::TagBytes()
{
    std::memcpy(bytes.data(), "TAG", 3);
}

TagBytes& TagBytes::Put(unsigned offset, const std::string& text)
{
    std::memcpy(bytes.data() + offset, text.data(), text.size());
    return *this;
}

TagBytes& TagBytes::Byte(unsigned offset, unsigned char value)
{
    bytes[offset] = value;
    return *this;
}

void WriteMp3(const std::string& path, unsigned frames, const Id3v1Block* tag)
{
    static const unsigned char header[4] = {0xFF, 0xFB, 0x90, 0x64};
    std::vector<unsigned char> data(static_cast<size_t>(frames) * MP3_FRAME_SIZE, 0);
    for (unsigned i = 0; i < frames; ++i)
        std::memcpy(&data[static_cast<size_t>(i) * MP3_FRAME_SIZE], header, sizeof header);
    if (tag)
        data.insert(data.end(), tag->begin(), tag->end());
    WriteBytes(path, data);
}

void WriteMp3(const std::string& path, unsigned frames, const TagBytes& tag)
{
    WriteMp3(path, frames, &tag.bytes);
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

bool MakeReadOnly(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(probe);
    return false;
}

std::vector<std::string> Listing(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<unsigned char> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

unsigned long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

unsigned long long HashPrefix(const std::string& path, size_t count)
{
    const std::vector<unsigned char> bytes = ReadBytes(path);
    unsigned long long hash = 14695981039346656037ull;
    for (size_t i = 0; i < bytes.size() && i < count; ++i) {
        hash ^= bytes[i];
        hash *= 1099511628211ull;
    }
    return hash;
}
