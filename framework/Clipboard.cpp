#include "Clipboard.h"

#include <cstring>

#include "WideText.h"

bool SetClipboardText(HWND owner, const std::string& text)
{
    const std::wstring wide = Widen(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (!memory)
        return false;
    std::memcpy(GlobalLock(memory), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!set)
        GlobalFree(memory); // the clipboard owns it only when it took it
    return set;
}

std::string GetClipboardText(HWND owner)
{
    std::string text;
    if (!OpenClipboard(owner))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        // A block without its terminating zero is read up to its size, no further.
        const size_t units = GlobalSize(data) / sizeof(wchar_t);
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            size_t length = 0;
            while (length < units && wide[length] != L'\0')
                ++length;
            text = Narrow(std::wstring(wide, length));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}
