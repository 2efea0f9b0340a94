#pragma once
#include <windows.h>

#include <string>

// The clipboard's text as Unicode (other programs get the 8-bit forms from it), taken from and
// given as the program's text.
bool SetClipboardText(HWND owner, const std::string& text);
// Empty when the clipboard holds no text or cannot be opened.
std::string GetClipboardText(HWND owner);
