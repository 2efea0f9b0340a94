#pragma once
#include <windows.h>

#include <string>

// A pop-up menu, destroyed with its object (with the sub-menus appended to it).
class CMenu
{
public:
    CMenu() : m_hMenu(::CreatePopupMenu()) {}
    ~CMenu()
    {
        if (m_hMenu)
            ::DestroyMenu(m_hMenu);
    }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    operator HMENU() const { return m_hMenu; }
    bool AppendItem(UINT id, const std::string& text)
    { return ::AppendMenuA(m_hMenu, MF_STRING, id, text.c_str()) != FALSE; }
    bool AppendSeparator() { return ::AppendMenuA(m_hMenu, MF_SEPARATOR, 0, nullptr) != FALSE; }
    // The sub-menu becomes part of this menu and is destroyed with it.
    bool AppendSubMenu(CMenu& sub, const std::string& text)
    {
        if (!::AppendMenuA(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub.m_hMenu), text.c_str()))
            return false;
        sub.m_hMenu = nullptr;
        return true;
    }
    // Shows the menu at a screen point; the chosen command goes to the owner as WM_COMMAND.
    BOOL TrackPopupMenu(UINT flags, POINT screen, HWND owner) const
    { return ::TrackPopupMenu(m_hMenu, flags, screen.x, screen.y, 0, owner, nullptr); }

private:
    HMENU m_hMenu;
};

// Shows the system wait cursor for the life of the object, then the cursor it replaced.
class CWaitCursor
{
public:
    CWaitCursor() : m_hPrevious(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;
};
