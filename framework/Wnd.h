#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "MessageMap.h"

// The menu/toolbar enabling query of one command.
class CCmdUI
{
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}
    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL on = TRUE) { m_bEnabled = on != FALSE; m_bHandled = true; }
    virtual void SetCheck(int check = 1) { m_nCheck = check; m_bHandled = true; }
    // A menu item's text (ignored by buttons).
    virtual void SetText(const std::string&) {}

    UINT m_nID;
    bool m_bEnabled = true;
    int m_nCheck = 0;
    bool m_bHandled = false; // some handler answered
};

// A thin, non-copyable wrapper of a window handle. The object is bound to its window from the
// window's very first message until WM_NCDESTROY, and receives its messages through the static
// message tables of its class and its base classes.
class CWnd
{
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    operator HWND() const { return m_hWnd; }
    // The object bound to a window, or null.
    static CWnd* FromHandle(HWND hwnd);

    // The platform's default position and size, for CreateEx.
    static const RECT rectDefault;

    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT idOrMenu, void* param = nullptr);
    // Binds the object to an existing window (a dialog item, say) and takes its messages.
    bool SubclassWindow(HWND hwnd);
    HWND UnsubclassWindow();
    bool DestroyWindow();

    // Hooks for derived classes.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Called by SubclassWindow once the object is bound to the existing window.
    virtual void PreSubclassWindow();
    // Keystroke pre-translation: true when the message was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Commands and enabling queries: true when some handler took it.
    virtual BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI);
    // A WM_COMMAND that no child control took for itself: through the command routing.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Called after the window is gone and its outermost message has returned; self-deleting
    // windows delete themselves here.
    virtual void PostNcDestroy() {}
    // Idle-time updates of a main window's menus, buttons and indicators.
    virtual void OnIdleUpdateCmdUI() {}

    // Thin wrappers of the calls the program makes.
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    { return ::SendMessageA(m_hWnd, msg, wParam, lParam); }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    { return ::PostMessageA(m_hWnd, msg, wParam, lParam); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    std::string GetWindowText() const;
    std::string GetDlgItemText(int id) const;
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE);
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    UINT GetDlgCtrlID() const { return static_cast<UINT>(::GetDlgCtrlID(m_hWnd)); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }

    HWND m_hWnd = nullptr;

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

    // The message procedure: the message table first, then the window's default procedure.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Runs the window's default procedure on the message being handled.
    LRESULT Default();
    // How many messages of this window are being handled right now (nested sends count).
    int DispatchDepth() const { return m_nDispatchDepth; }

private:
    friend class CWindowCreationHook;
    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool CallEntry(UINT msg, int code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static bool ReflectToChild(HWND child, UINT msg, int code, WPARAM wParam, LPARAM lParam,
                               LRESULT& result);

    WNDPROC m_pfnSuper = nullptr;
    MSG m_currentMsg{};
    int m_nDispatchDepth = 0;
    bool m_bPostNcDestroyDue = false;
};

// Stops a window from repainting for the life of the object, then repaints it once: for a batch
// of changes that would otherwise repaint (and scroll) the window once each.
class CRedrawOff
{
public:
    explicit CRedrawOff(CWnd& wnd) : m_wnd(wnd) { m_wnd.SendMessage(WM_SETREDRAW, FALSE); }
    ~CRedrawOff()
    {
        m_wnd.SendMessage(WM_SETREDRAW, TRUE);
        m_wnd.Invalidate();
    }
    CRedrawOff(const CRedrawOff&) = delete;
    CRedrawOff& operator=(const CRedrawOff&) = delete;

private:
    CWnd& m_wnd;
};

// Registers a window class with the given styles, cursor, background and icon, whose messages
// go to the bound CWnd objects. Returns the class name; the same settings give the same class.
// The text of any window.
std::string WindowTextOf(HWND wnd);

const char* RegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                             HICON icon = nullptr);

// Runs create() with wnd bound to the first window it makes, from that window's first message:
// how a window the system creates itself (a dialog box) gets its object. Returns what create() returns.
INT_PTR CreateBoundWindow(CWnd* wnd, const std::function<INT_PTR()>& create);
