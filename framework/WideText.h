#pragma once
#include <windows.h>

#include <string>

// Text between the program's 8-bit strings (in the process code page unless told otherwise)
// and the system's UTF-16.
std::wstring Widen(const std::string& text, UINT codePage = CP_ACP);
std::string Narrow(const std::wstring& text, UINT codePage = CP_ACP);

// The size of text drawn on dc in its font, measured as Unicode (the GDI's own code page is
// not the process's).
SIZE TextExtent(HDC dc, const std::string& text);
