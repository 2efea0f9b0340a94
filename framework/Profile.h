#pragma once
#include <windows.h>

#include <string>

// The program's settings in the per-user registry: entries of sections under
// HKEY_CURRENT_USER\Software\<key>\<application name>\<section>. There is no INI-file fallback:
// until SetRegistryKey is called, reads give their defaults and writes fail.

// <windows.h> maps these names to the INI-file functions of the system; here they are ours.
#undef GetProfileString
#undef WriteProfileString
#undef GetProfileInt

void SetRegistryKey(const std::string& key, const std::string& appName);

// The string value of an entry, whole; the default when the section or the entry does not
// exist or is not a string. Opening the section creates its keys when they are missing.
// Needs no write access.
std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue);

// Stores the text as the entry's string value, creating the section's keys when needed.
// False when it could not be stored.
bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value);

// The DWORD value of an entry; the default when it does not exist or is not a DWORD.
DWORD GetProfileInt(const std::string& section, const std::string& entry, DWORD defaultValue);
bool WriteProfileInt(const std::string& section, const std::string& entry, DWORD value);
