#pragma once
#include <windows.h>

#include <string>

// The system's folder picker: the file dialog in its pick-folders mode where the system has it,
// the older folder browser otherwise. Opens at initial (when it exists); true with the chosen
// folder's full path.
bool PickFolder(HWND owner, const std::string& initial, std::string& chosen);
