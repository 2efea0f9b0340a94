#include "Mp3File.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "Id3v1Tag.h"
#include "PathText.h"

namespace {

// Owns one open file handle.
class CFileHandle
{
public:
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    ~CFileHandle()
    {
        if (IsOpen())
            CloseHandle(m_handle);
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

    // Moves the file pointer and returns the new position, or -1 when the platform refuses
    // (for example a move before the start of the file).
    LONGLONG Seek(LONGLONG distance, DWORD method)
    {
        LONG high = static_cast<LONG>(distance >> 32);
        SetLastError(NO_ERROR);
        const DWORD low = SetFilePointer(m_handle, static_cast<LONG>(distance), &high, method);
        if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
            return -1;
        return (static_cast<LONGLONG>(high) << 32) | low;
    }
    bool ReadBlock(Id3v1Block& block) { return Read(block.data(), ID3V1_SIZE) == ID3V1_SIZE; }
    // Reads up to size bytes; returns how many came.
    DWORD Read(void* data, DWORD size)
    {
        DWORD read = 0;
        return ReadFile(m_handle, data, size, &read, nullptr) ? read : 0;
    }
    bool WriteBlock(const Id3v1Block& block, const CDiskOps& disk)
    {
        unsigned long written = 0;
        return disk.WriteBytes(m_handle, block.data(), ID3V1_SIZE, &written) && written == ID3V1_SIZE;
    }

private:
    HANDLE m_handle;
};

// Reads the last 128 bytes; false when the file is shorter or the read comes up short.
bool ReadLastBlock(CFileHandle& file, Id3v1Block& block)
{
    return file.Seek(-static_cast<LONGLONG>(ID3V1_SIZE), FILE_END) >= 0 && file.ReadBlock(block);
}

std::string UpperCase(std::string text)
{
    if (!text.empty())
        CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The file system drops dots and blanks at the end of a name; the record must name the file
// that is really there.
std::string WithoutTrailingDotsAndBlanks(std::string path)
{
    const size_t nameStart = path.rfind('\\') == std::string::npos ? 0 : path.rfind('\\') + 1;
    while (path.size() > nameStart && (path.back() == '.' || path.back() == ' '))
        path.pop_back();
    return path;
}

// A name in the folder that no file has yet; empty when none was found.
std::string FreeTemporaryName(const std::string& folder)
{
    for (unsigned n = GetTickCount() % 100000, tries = 0; tries < 1000; ++n, ++tries) {
        const std::string path = folder + "~quillfox" + std::to_string(n) + ".tmp";
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return path;
    }
    return std::string();
}

} // namespace

bool CDiskOps::WriteBytes(void* file, const void* data, unsigned long size, unsigned long* written) const
{
    DWORD done = 0;
    const BOOL ok = WriteFile(file, data, size, &done, nullptr);
    *written = done;
    return ok != FALSE;
}

bool CDiskOps::MoveWithoutReplacing(const char* from, const char* to) const
{
    return MoveFileA(from, to) != FALSE;
}

const CDiskOps& CDiskOps::System()
{
    static const CDiskOps system;
    return system;
}

bool CMp3File::Load(const std::string& path)
{
    Clear();
    CFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;

    // The ID3v2 header at the start is noted in the same open; the tag itself is read on demand.
    unsigned char start[ID3V2_HEADER_SIZE];
    Id3v2Header header;
    if (file.Read(start, sizeof start) == sizeof start && ParseId3v2Header(start, sizeof start, &header))
        m_nId3v2Version = static_cast<unsigned char>(header.version);

    Id3v1Block block;
    if (ReadLastBlock(file, block) && HasId3v1Magic(block)) {
        m_bHasId3v1 = true;
        SetFields(DecodeId3v1(block), false);
    }
    m_strPath = path;
    return true;
}

bool CMp3File::ReadId3v2Tag(Id3v2Fields& fields) const
{
    CFileHandle file(CreateFileA(m_strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    unsigned char start[ID3V2_HEADER_SIZE];
    Id3v2Header header;
    if (m_strPath.empty() || !file.IsOpen() || file.Read(start, sizeof start) != sizeof start ||
        !ParseId3v2Header(start, sizeof start, &header))
        return false;
    // A header may claim more than the file holds: the tag is read up to the file's end.
    const unsigned long wanted = std::min(header.size, MAX_ID3V2_READ);
    std::vector<unsigned char> tag(start, start + sizeof start);
    tag.resize(sizeof start + wanted);
    const DWORD read = file.Read(tag.data() + sizeof start, wanted);
    fields = ReadId3v2(tag.data(), sizeof start + read);
    return fields.version != 0;
}

bool CMp3File::WriteTag(const CDiskOps& disk)
{
    if (m_strPath.empty())
        return false;
    // OPEN_EXISTING: a file that went away must not come back as a bare tag.
    CFileHandle file(CreateFileA(m_strPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;

    Id3v1Block oldTag;
    const bool overwrite = ReadLastBlock(file, oldTag) && HasId3v1Magic(oldTag);
    const LONGLONG tagOffset = file.Seek(overwrite ? -static_cast<LONGLONG>(ID3V1_SIZE) : 0, FILE_END);
    if (tagOffset < 0)
        return false;

    if (file.WriteBlock(EncodeId3v1(GetFields()), disk)) {
        m_bModified = false;
        m_bHasId3v1 = true;
        return true;
    }

    // Undo a partial write: cut an appended tag off, or put the old tag back.
    if (file.Seek(tagOffset, FILE_BEGIN) == tagOffset) {
        if (overwrite)
            file.WriteBlock(oldTag, disk);
        else
            SetEndOfFile(file.Get());
    }
    return false;
}

bool CMp3File::RenameTo(const std::string& newName, const CDiskOps& disk)
{
    if (newName.empty())
        return false;
    const std::string newPath = WithoutTrailingDotsAndBlanks(
        newName.find('\\') == std::string::npos ? FolderOf(m_strPath) + newName : newName);
    if (NameOf(newPath).empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    if (newPath != m_strPath && UpperCase(newPath) == UpperCase(m_strPath))
        return MoveThroughTemporaryName(newPath, disk);
    if (!disk.MoveWithoutReplacing(m_strPath.c_str(), newPath.c_str()))
        return false;
    m_strPath = newPath;
    return true;
}

bool CMp3File::MoveThroughTemporaryName(const std::string& newPath, const CDiskOps& disk)
{
    const std::string temporary = FreeTemporaryName(FolderOf(m_strPath));
    if (temporary.empty()) {
        SetLastError(ERROR_FILE_EXISTS);
        return false;
    }
    if (!disk.MoveWithoutReplacing(m_strPath.c_str(), temporary.c_str()))
        return false;
    if (disk.MoveWithoutReplacing(temporary.c_str(), newPath.c_str())) {
        m_strPath = newPath;
        return true;
    }
    const DWORD error = GetLastError();
    if (!disk.MoveWithoutReplacing(temporary.c_str(), m_strPath.c_str()))
        m_strPath = temporary; // the record must still name the file
    SetLastError(error);
    return false;
}
