#include "Wnd.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_map>
#include <deque>
#include <vector>

namespace {

// The one map from window handles to their objects (the program has one UI thread).
std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static std::unordered_map<HWND, CWnd*> s_map;
    return s_map;
}

const MessageEntry* FindEntry(const MessageMap* map, UINT msg, int code, UINT id)
{
    for (; map; map = map->base ? map->base() : nullptr) {
        for (const MessageEntry* e = map->entries; e->dispatch; ++e) {
            if (e->message == msg && e->code == code && e->idFirst <= id && id <= e->idLast)
                return e;
        }
    }
    return nullptr;
}

} // namespace

// Binds the object being created to its window at the window's very first message: a CBT hook
// sees the window before WM_NCCREATE, whatever its class.
class CWindowCreationHook
{
public:
    explicit CWindowCreationHook(CWnd* wnd)
    {
        s_pending = wnd;
        m_hook = SetWindowsHookExA(WH_CBT, &HookProc, nullptr, GetCurrentThreadId());
    }
    ~CWindowCreationHook()
    {
        UnhookWindowsHookEx(m_hook);
        s_pending = nullptr;
    }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && s_pending) {
            CWnd* wnd = s_pending;
            s_pending = nullptr;
            wnd->Attach(reinterpret_cast<HWND>(wParam));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static CWnd* s_pending;
    HHOOK m_hook;
};

CWnd* CWindowCreationHook::s_pending = nullptr;

INT_PTR CreateBoundWindow(CWnd* wnd, const std::function<INT_PTR()>& create)
{
    CWindowCreationHook hook(wnd);
    return create();
}

const RECT CWnd::rectDefault = {0, 0, 0, 0};

const MessageMap* CWnd::GetThisMessageMap()
{
    static const MessageEntry s_entries[] = {{0, 0, 0, 0, nullptr}};
    static const MessageMap s_map = {nullptr, s_entries};
    return &s_map;
}

CWnd::~CWnd()
{
    if (m_nDispatchDepth > 0) {
        // Deleting a window object inside one of its own handlers leaves the handler running
        // on freed memory; self-deleting windows delete themselves in PostNcDestroy instead.
        std::fputs("CWnd deleted while handling one of its messages\n", stderr);
        std::abort();
    }
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    if (m_hWnd)
        Detach();
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    const auto found = HandleMap().find(hwnd);
    return found == HandleMap().end() ? nullptr : found->second;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT idOrMenu, void* param)
{
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    if (&rect == &rectDefault) {
        cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    } else {
        cs.x = rect.left;
        cs.y = rect.top;
        cs.cx = rect.right - rect.left;
        cs.cy = rect.bottom - rect.top;
    }
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(idOrMenu));
    cs.hInstance = GetModuleHandleA(nullptr);
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return false;

    HWND hwnd;
    {
        CWindowCreationHook hook(this);
        hwnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                 cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                 cs.lpCreateParams);
    }
    // A window whose WM_CREATE failed is already gone and unbound.
    return hwnd != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&)
{
    return TRUE;
}

void CWnd::PreSubclassWindow()
{
}

// Only a window of this process can be taken over: another process's window procedure cannot
// be replaced, and a handle that names no window has none.
bool CWnd::SubclassWindow(HWND hwnd)
{
    DWORD process = 0;
    if (m_hWnd || !hwnd || FromHandle(hwnd) || !::IsWindow(hwnd) || !::GetWindowThreadProcessId(hwnd, &process) ||
        process != ::GetCurrentProcessId())
        return false;
    Attach(hwnd);
    if (!m_pfnSuper) {
        HandleMap().erase(hwnd);
        m_hWnd = nullptr;
        return false;
    }
    PreSubclassWindow();
    return true;
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (hwnd)
        Detach();
    return hwnd;
}

bool CWnd::DestroyWindow()
{
    return m_hWnd && ::DestroyWindow(m_hWnd);
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    HandleMap()[hwnd] = this;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc)));
}

void CWnd::Detach()
{
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &StdWndProc)
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    HandleMap().erase(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

RECT CWnd::GetClientRect() const
{
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const
{
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    return rect;
}

std::string WindowTextOf(HWND wnd)
{
    const int length = ::GetWindowTextLengthA(wnd);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(wnd, text.data(), length + 1);
    return std::string(text.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

std::string CWnd::GetWindowText() const
{
    return WindowTextOf(m_hWnd);
}

std::string CWnd::GetDlgItemText(int id) const
{
    return WindowTextOf(::GetDlgItem(m_hWnd, id));
}

BOOL CWnd::MoveWindow(const RECT& rect, BOOL repaint)
{
    return ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, repaint);
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandle(hwnd);
    if (!wnd)
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    return wnd->Dispatch(msg, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const MSG outer = m_currentMsg;
    m_currentMsg = MSG{m_hWnd, msg, wParam, lParam, 0, {0, 0}};
    ++m_nDispatchDepth;
    const LRESULT result = WindowProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY && m_hWnd) {
        Detach();
        m_bPostNcDestroyDue = true;
    }
    --m_nDispatchDepth;
    m_currentMsg = outer;
    if (m_nDispatchDepth == 0 && m_bPostNcDestroyDue) {
        m_bPostNcDestroyDue = false;
        PostNcDestroy(); // may delete this
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (OnWndMsg(msg, wParam, lParam, result))
        return result;
    return Default();
}

LRESULT CWnd::Default()
{
    const MSG& m = m_currentMsg;
    const HWND hwnd = m.hwnd ? m.hwnd : m_hWnd;
    if (!m_pfnSuper)
        return ::DefWindowProcA(hwnd, m.message, m.wParam, m.lParam);
    return ::CallWindowProcA(m_pfnSuper, hwnd, m.message, m.wParam, m.lParam);
}

bool CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_NOTIFY: {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        const int code = static_cast<int>(hdr->code);
        return ReflectToChild(hdr->hwndFrom, msg, code, wParam, lParam, result) ||
               CallEntry(msg, code, static_cast<UINT>(hdr->idFrom), wParam, lParam, result);
    }
    case WM_COMMAND: {
        const HWND control = reinterpret_cast<HWND>(lParam);
        const int code = HIWORD(wParam);
        if (control && ReflectToChild(control, msg, code, wParam, lParam, result))
            return true;
        if (OnCommand(wParam, lParam)) {
            result = 0;
            return true;
        }
        return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (ReflectToChild(reinterpret_cast<HWND>(lParam), msg, 0, wParam, lParam, result))
            return true;
        break;
    default:
        break;
    }
    return CallEntry(msg, 0, 0, wParam, lParam, result);
}

bool CWnd::CallEntry(UINT msg, int code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const MessageEntry* entry = FindEntry(GetMessageMap(), msg, code, id);
    return entry && entry->dispatch(this, id, wParam, lParam, result);
}

bool CWnd::ReflectToChild(HWND child, UINT msg, int code, WPARAM wParam, LPARAM lParam,
                          LRESULT& result)
{
    CWnd* wnd = FromHandle(child);
    return wnd && wnd->CallEntry(WM_REFLECT_BASE + msg, code, 0, wParam, lParam, result);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Menus, accelerators and controls alike.
    const int code = lParam ? static_cast<int>(HIWORD(wParam)) : CN_COMMAND;
    return OnCmdMsg(LOWORD(wParam), code, nullptr);
}

BOOL CWnd::OnCmdMsg(UINT id, int code, CCmdUI* cmdUI)
{
    if (code == CN_PROBE)
        return FindEntry(GetMessageMap(), WM_COMMAND, CN_COMMAND, id) != nullptr;
    LRESULT ignored = 0;
    return CallEntry(WM_COMMAND, code, id, 0, reinterpret_cast<LPARAM>(cmdUI), ignored);
}

const char* RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::deque<std::string> s_names; // a deque keeps the returned pointers valid
    char name[96];
    std::snprintf(name, sizeof name, "Quillfox:%x:%p:%p:%p", classStyle,
                  static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
    for (const std::string& known : s_names) {
        if (known == name)
            return known.c_str();
    }
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!RegisterClassA(&wc))
        return nullptr;
    s_names.push_back(name);
    return s_names.back().c_str();
}
