#include "Profile.h"

#include <vector>

namespace {

std::string& AppKeyPath()
{
    static std::string s_path; // Software\<key>\<application name>; empty until set
    return s_path;
}

// Opens (creating when missing) the section's key with the given access; null on failure.
HKEY OpenSection(const std::string& section, REGSAM access)
{
    if (AppKeyPath().empty())
        return nullptr;
    const std::string path = AppKeyPath() + "\\" + section;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                        nullptr, &key, nullptr) == ERROR_SUCCESS)
        return key;
    // The keys could not be made; an existing section can still be read.
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) == ERROR_SUCCESS)
        return key;
    return nullptr;
}

} // namespace

void SetRegistryKey(const std::string& key, const std::string& appName)
{
    AppKeyPath() = "Software\\" + key + "\\" + appName;
}

std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue)
{
    const HKEY key = OpenSection(section, KEY_QUERY_VALUE);
    if (!key)
        return defaultValue;

    std::string value = defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, entry.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between asking its size and reading it: ask again.
    while (status == ERROR_SUCCESS && type == REG_SZ) {
        std::vector<char> bytes(static_cast<size_t>(size) + 1, '\0');
        DWORD read = size;
        status = RegQueryValueExA(key, entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &read);
        if (status == ERROR_MORE_DATA) {
            size = read;
            status = ERROR_SUCCESS;
            continue;
        }
        if (status == ERROR_SUCCESS && type == REG_SZ) {
            // A string stored without its terminating zero comes back as stored.
            size_t length = 0;
            while (length < read && bytes[length] != '\0')
                ++length;
            value.assign(bytes.data(), length);
        }
        break;
    }
    RegCloseKey(key);
    return value;
}

bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    const HKEY key = OpenSection(section, KEY_SET_VALUE);
    if (!key)
        return false;
    const LONG status = RegSetValueExA(key, entry.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

DWORD GetProfileInt(const std::string& section, const std::string& entry, DWORD defaultValue)
{
    const HKEY key = OpenSection(section, KEY_QUERY_VALUE);
    if (!key)
        return defaultValue;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    const LONG status = RegQueryValueExA(key, entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value ? value : defaultValue;
}

bool WriteProfileInt(const std::string& section, const std::string& entry, DWORD value)
{
    const HKEY key = OpenSection(section, KEY_SET_VALUE);
    if (!key)
        return false;
    const LONG status =
        RegSetValueExA(key, entry.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}
