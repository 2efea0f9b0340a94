#pragma once
#include <windows.h>
#include <commctrl.h>

// Static message tables. Each window class has one table, chained to its base class's table.
// An entry names a message (or a command or notification) and a small dispatch function made
// from a member-function pointer, so a handler of the wrong signature does not compile.

class CWnd;
class CCmdUI;

// Messages a parent hands back to the child control that sent them.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

// The notification code slot of command entries: a command, or an enabling query.
// CN_PROBE asks only whether a handler exists, without running it.
enum CommandCode : int { CN_COMMAND = 0, CN_UPDATE_COMMAND_UI = -1, CN_PROBE = -2 };

struct MessageEntry
{
    UINT message;  // window message, WM_COMMAND, or WM_REFLECT_BASE + message
    int code;      // notification code (WM_NOTIFY, WM_COMMAND) or CommandCode
    UINT idFirst;  // command or control id range; 0..0 for plain messages
    UINT idLast;
    // Calls the handler; false lets the message go on as if there were no entry.
    bool (*dispatch)(CWnd* wnd, UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

struct MessageMap
{
    const MessageMap* (*base)();
    const MessageEntry* entries; // ends with an entry whose dispatch is null
};

namespace msgmap {

template <class T> T* As(CWnd* wnd) { return static_cast<T*>(wnd); }

// --- window messages -----------------------------------------------------------------------
template <class T, void (T::*F)()>
bool Void(CWnd* w, UINT, WPARAM, LPARAM, LRESULT& r) { (As<T>(w)->*F)(); r = 0; return true; }

template <class T, int (T::*F)(LPCREATESTRUCTA)>
bool Create(CWnd* w, UINT, WPARAM, LPARAM l, LRESULT& r)
{ r = (As<T>(w)->*F)(reinterpret_cast<LPCREATESTRUCTA>(l)); return true; }

template <class T, void (T::*F)(HWND)>
bool Focus(CWnd* w, UINT, WPARAM wp, LPARAM, LRESULT& r)
{ (As<T>(w)->*F)(reinterpret_cast<HWND>(wp)); r = 0; return true; }

template <class T, void (T::*F)(UINT, POINT)>
bool Mouse(CWnd* w, UINT, WPARAM wp, LPARAM l, LRESULT& r)
{
    const POINT pt = {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
    (As<T>(w)->*F)(static_cast<UINT>(wp), pt); r = 0; return true;
}

template <class T, void (T::*F)(UINT, short, POINT)>
bool Wheel(CWnd* w, UINT, WPARAM wp, LPARAM l, LRESULT& r)
{
    const POINT pt = {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
    (As<T>(w)->*F)(LOWORD(wp), static_cast<short>(HIWORD(wp)), pt); r = 0; return true;
}

template <class T, void (T::*F)(UINT, UINT, HWND)>
bool Scroll(CWnd* w, UINT, WPARAM wp, LPARAM l, LRESULT& r)
{ (As<T>(w)->*F)(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(l)); r = 0; return true; }

template <class T, void (T::*F)(UINT, UINT, UINT)>
bool Key(CWnd* w, UINT, WPARAM wp, LPARAM l, LRESULT& r)
{
    (As<T>(w)->*F)(static_cast<UINT>(wp), LOWORD(l), HIWORD(l)); r = 0; return true;
}

template <class T, void (T::*F)(UINT, int, int)>
bool Size(CWnd* w, UINT, WPARAM wp, LPARAM l, LRESULT& r)
{ (As<T>(w)->*F)(static_cast<UINT>(wp), LOWORD(l), HIWORD(l)); r = 0; return true; }

template <class T, void (T::*F)(HDROP)>
bool DropFiles(CWnd* w, UINT, WPARAM wp, LPARAM, LRESULT& r)
{ (As<T>(w)->*F)(reinterpret_cast<HDROP>(wp)); r = 0; return true; }

template <class T, void (T::*F)(HMENU, UINT, BOOL)>
bool InitMenuPopup(CWnd* w, UINT, WPARAM wp, LPARAM l, LRESULT& r)
{ (As<T>(w)->*F)(reinterpret_cast<HMENU>(wp), LOWORD(l), HIWORD(l)); r = 0; return true; }

template <class T, void (T::*F)(UINT, UINT, HMENU)>
bool MenuSelect(CWnd* w, UINT, WPARAM wp, LPARAM l, LRESULT& r)
{ (As<T>(w)->*F)(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(l)); r = 0; return true; }

template <class T, void (T::*F)(BOOL)>
bool Bool(CWnd* w, UINT, WPARAM wp, LPARAM, LRESULT& r) { (As<T>(w)->*F)(static_cast<BOOL>(wp)); r = 0; return true; }

template <class T, BOOL (T::*F)()>
bool Query(CWnd* w, UINT, WPARAM, LPARAM, LRESULT& r) { r = (As<T>(w)->*F)(); return true; }

template <class T, BOOL (T::*F)(HELPINFO*)>
bool HelpInfo(CWnd* w, UINT, WPARAM, LPARAM l, LRESULT& r)
{ r = (As<T>(w)->*F)(reinterpret_cast<HELPINFO*>(l)); return true; }

template <class T, void (T::*F)(BOOL, NCCALCSIZE_PARAMS*)>
bool NcCalcSize(CWnd* w, UINT, WPARAM wp, LPARAM l, LRESULT& r)
{ (As<T>(w)->*F)(static_cast<BOOL>(wp), reinterpret_cast<NCCALCSIZE_PARAMS*>(l)); r = 0; return true; }

template <class T, LRESULT (T::*F)(POINT)>
bool NcHitTest(CWnd* w, UINT, WPARAM, LPARAM l, LRESULT& r)
{
    const POINT pt = {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
    r = (As<T>(w)->*F)(pt); return true;
}

template <class T, BOOL (T::*F)(HWND, UINT, UINT)>
bool SetCursor(CWnd* w, UINT, WPARAM wp, LPARAM l, LRESULT& r)
{ r = (As<T>(w)->*F)(reinterpret_cast<HWND>(wp), LOWORD(l), HIWORD(l)); return true; }

// A reflected colour request: the control's own brush; kind is a CTLCOLOR_ value.
template <class T, HBRUSH (T::*F)(HDC, UINT), UINT kind>
bool CtlColor(CWnd* w, UINT, WPARAM wp, LPARAM, LRESULT& r)
{ r = reinterpret_cast<LRESULT>((As<T>(w)->*F)(reinterpret_cast<HDC>(wp), kind)); return true; }

// A private message keeps its raw parameters.
template <class T, LRESULT (T::*F)(WPARAM, LPARAM)>
bool Raw(CWnd* w, UINT, WPARAM wp, LPARAM l, LRESULT& r) { r = (As<T>(w)->*F)(wp, l); return true; }

// --- commands and notifications ------------------------------------------------------------

template <class T, void (T::*F)(UINT)>
bool CommandRange(CWnd* w, UINT id, WPARAM, LPARAM, LRESULT& r) { (As<T>(w)->*F)(id); r = 0; return true; }

template <class T, void (T::*F)(CCmdUI*)>
bool UpdateUI(CWnd* w, UINT, WPARAM, LPARAM l, LRESULT& r)
{ (As<T>(w)->*F)(reinterpret_cast<CCmdUI*>(l)); r = 0; return true; }

template <class T, void (T::*F)(NMHDR*, LRESULT*)>
bool Notify(CWnd* w, UINT, WPARAM, LPARAM l, LRESULT& r)
{ r = 0; (As<T>(w)->*F)(reinterpret_cast<NMHDR*>(l), &r); return true; }


} // namespace msgmap

#define DECLARE_MESSAGE_MAP()                                                                   \
protected:                                                                                      \
    static const MessageMap* GetThisMessageMap();                                               \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                  \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); }           \
    const MessageMap* theClass::GetThisMessageMap()                                             \
    {                                                                                           \
        using ThisClass = theClass;                                                             \
        using BaseClass = baseClass;                                                            \
        static const MessageEntry s_entries[] = {

#define END_MESSAGE_MAP()                                                                       \
            {0, 0, 0, 0, nullptr}                                                               \
        };                                                                                      \
        static const MessageMap s_map = {&BaseClass::GetThisMessageMap, s_entries};             \
        return &s_map;                                                                          \
    }

#define QF_MSG(msg, kind, fn) {msg, 0, 0, 0, &msgmap::kind<ThisClass, &ThisClass::fn>},

#define ON_WM_CREATE() QF_MSG(WM_CREATE, Create, OnCreate)
#define ON_WM_DESTROY() QF_MSG(WM_DESTROY, Void, OnDestroy)
#define ON_WM_NCDESTROY() QF_MSG(WM_NCDESTROY, Void, OnNcDestroy)
#define ON_WM_CLOSE() QF_MSG(WM_CLOSE, Void, OnClose)
#define ON_WM_PAINT() QF_MSG(WM_PAINT, Void, OnPaint)
#define ON_WM_SIZE() QF_MSG(WM_SIZE, Size, OnSize)
#define ON_WM_SETFOCUS() QF_MSG(WM_SETFOCUS, Focus, OnSetFocus)
#define ON_WM_KILLFOCUS() QF_MSG(WM_KILLFOCUS, Focus, OnKillFocus)
#define ON_WM_LBUTTONDOWN() QF_MSG(WM_LBUTTONDOWN, Mouse, OnLButtonDown)
#define ON_WM_RBUTTONDOWN() QF_MSG(WM_RBUTTONDOWN, Mouse, OnRButtonDown)
#define ON_WM_LBUTTONUP() QF_MSG(WM_LBUTTONUP, Mouse, OnLButtonUp)
#define ON_WM_MOUSEMOVE() QF_MSG(WM_MOUSEMOVE, Mouse, OnMouseMove)
#define ON_WM_NCLBUTTONDOWN() QF_MSG(WM_NCLBUTTONDOWN, Mouse, OnNcLButtonDown)
#define ON_WM_NCCALCSIZE() QF_MSG(WM_NCCALCSIZE, NcCalcSize, OnNcCalcSize)
#define ON_WM_NCPAINT() QF_MSG(WM_NCPAINT, Void, OnNcPaint)
#define ON_WM_NCHITTEST() QF_MSG(WM_NCHITTEST, NcHitTest, OnNcHitTest)
#define ON_WM_CAPTURECHANGED() QF_MSG(WM_CAPTURECHANGED, Focus, OnCaptureChanged)
#define ON_WM_MOUSEWHEEL() QF_MSG(WM_MOUSEWHEEL, Wheel, OnMouseWheel)
#define ON_WM_HSCROLL() QF_MSG(WM_HSCROLL, Scroll, OnHScroll)
#define ON_WM_VSCROLL() QF_MSG(WM_VSCROLL, Scroll, OnVScroll)
#define ON_WM_CHAR() QF_MSG(WM_CHAR, Key, OnChar)
#define ON_WM_SETCURSOR() QF_MSG(WM_SETCURSOR, SetCursor, OnSetCursor)
#define ON_WM_DROPFILES() QF_MSG(WM_DROPFILES, DropFiles, OnDropFiles)
#define ON_WM_INITMENUPOPUP() QF_MSG(WM_INITMENUPOPUP, InitMenuPopup, OnInitMenuPopup)
#define ON_WM_MENUSELECT() QF_MSG(WM_MENUSELECT, MenuSelect, OnMenuSelect)
#define ON_WM_EXITMENULOOP() QF_MSG(WM_EXITMENULOOP, Bool, OnExitMenuLoop)
#define ON_WM_HELPINFO() QF_MSG(WM_HELP, HelpInfo, OnHelpInfo)
#define ON_WM_QUERYENDSESSION() QF_MSG(WM_QUERYENDSESSION, Query, OnQueryEndSession)
#define ON_WM_ENDSESSION() QF_MSG(WM_ENDSESSION, Bool, OnEndSession)
#define ON_MESSAGE(msg, fn) QF_MSG(msg, Raw, fn)

#define ON_COMMAND(id, fn) {WM_COMMAND, CN_COMMAND, id, id, &msgmap::Void<ThisClass, &ThisClass::fn>},
#define ON_COMMAND_RANGE(first, last, fn)                                                       \
    {WM_COMMAND, CN_COMMAND, first, last, &msgmap::CommandRange<ThisClass, &ThisClass::fn>},
#define ON_CONTROL(code, id, fn)                                                                \
    {WM_COMMAND, static_cast<int>(code), id, id, &msgmap::Void<ThisClass, &ThisClass::fn>},
#define ON_UPDATE_COMMAND_UI(id, fn)                                                            \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, &msgmap::UpdateUI<ThisClass, &ThisClass::fn>},
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, fn)                                             \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, first, last, &msgmap::UpdateUI<ThisClass, &ThisClass::fn>},
#define ON_NOTIFY_RANGE(code, first, last, fn)                                                  \
    {WM_NOTIFY, static_cast<int>(code), first, last, &msgmap::Notify<ThisClass, &ThisClass::fn>},
#define ON_NOTIFY_REFLECT(code, fn)                                                             \
    {WM_REFLECT_BASE + WM_NOTIFY, static_cast<int>(code), 0, 0xFFFF,                            \
     &msgmap::Notify<ThisClass, &ThisClass::fn>},
#define ON_CONTROL_REFLECT(code, fn)                                                            \
    {WM_REFLECT_BASE + WM_COMMAND, static_cast<int>(code), 0, 0xFFFF,                           \
     &msgmap::Void<ThisClass, &ThisClass::fn>},
// The colour requests of a static, an edit box or a list box, handed back to the control.
#define ON_WM_CTLCOLOR_REFLECT()                                                                \
    {WM_REFLECT_BASE + WM_CTLCOLORSTATIC, 0, 0, 0,                                              \
     &msgmap::CtlColor<ThisClass, &ThisClass::CtlColor, CTLCOLOR_STATIC>},                      \
    {WM_REFLECT_BASE + WM_CTLCOLOREDIT, 0, 0, 0,                                                \
     &msgmap::CtlColor<ThisClass, &ThisClass::CtlColor, CTLCOLOR_EDIT>},                        \
    {WM_REFLECT_BASE + WM_CTLCOLORLISTBOX, 0, 0, 0,                                             \
     &msgmap::CtlColor<ThisClass, &ThisClass::CtlColor, CTLCOLOR_LISTBOX>},
