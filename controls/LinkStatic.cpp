#include "LinkStatic.h"

#include <shellapi.h>

#include "app/resource.h"
#include "framework/MessageBox.h"
#include "framework/ResString.h"
#include "framework/WideText.h"

namespace {

// The first occurrence of what in text, stepping over double-byte characters of the system code
// page so that a trail byte never starts a match; npos when absent.
size_t FindText(const std::string& text, const std::string& what)
{
    for (size_t i = 0; i + what.size() <= text.size(); ++i) {
        if (text.compare(i, what.size(), what) == 0)
            return i;
        if (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size())
            ++i;
    }
    return std::string::npos;
}

// The registry's default values are read into a buffer of this size; longer ones fail.
constexpr DWORD REG_VALUE_MAX = 260;

// The result codes of the shell and of WinExec that have a text of their own.
const struct
{
    int code;
    UINT text;
} OpenFailureTexts[] = {
    {0, IDS_LINK_OUT_OF_RESOURCES},
    {SE_ERR_FNF, IDS_LINK_FILE_NOT_FOUND},
    {SE_ERR_PNF, IDS_LINK_PATH_NOT_FOUND},
    {SE_ERR_ACCESSDENIED, IDS_LINK_ACCESS_DENIED},
    {SE_ERR_OOM, IDS_LINK_OUT_OF_MEMORY},
    {ERROR_BAD_FORMAT, IDS_LINK_BAD_FORMAT},
    {SE_ERR_SHARE, IDS_LINK_SHARING_VIOLATION},
    {SE_ERR_ASSOCINCOMPLETE, IDS_LINK_ASSOC_INCOMPLETE},
    {SE_ERR_DDETIMEOUT, IDS_LINK_DDE_TIMEOUT},
    {SE_ERR_DDEFAIL, IDS_LINK_DDE_FAIL},
    {SE_ERR_DDEBUSY, IDS_LINK_DDE_BUSY},
    {SE_ERR_NOASSOC, IDS_LINK_NO_ASSOC},
    {SE_ERR_DLLNOTFOUND, IDS_LINK_DLL_NOT_FOUND},
};

} // namespace

std::string BrowserCommandLine(const std::string& commandTemplate, const std::string& address)
{
    size_t cut = FindText(commandTemplate, "\"%1\"");
    if (cut == std::string::npos)
        cut = FindText(commandTemplate, "%1");
    return commandTemplate.substr(0, cut) + " " + address;
}

BEGIN_MESSAGE_MAP(CLinkStatic, CStatic)
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CLinkStatic::CLinkStatic(BeepFunction beep) : m_clrHover(GetSysColor(COLOR_HIGHLIGHT)), m_beep(std::move(beep))
{
}

CLinkStatic::~CLinkStatic()
{
    if (IsWindow())
        SendMessage(WM_SETFONT, 0, FALSE); // a control still there must not keep a font about to go
    if (m_fontLink)
        DeleteObject(m_fontLink);
    if (m_hHandCursor)
        DestroyCursor(m_hHandCursor);
}

void CLinkStatic::PreSubclassWindow()
{
    // Statics report clicks only with SS_NOTIFY.
    SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(GetStyle() | SS_NOTIFY));
    if (m_strTarget.empty())
        m_strTarget = GetWindowText();
    if (GetWindowText().empty())
        SetWindowText(m_strTarget);

    // The control's font, underlined. A static without a font of its own draws in the system font.
    LOGFONTA font{};
    const HGDIOBJ current = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (!current || !GetObjectA(current, sizeof font, &font))
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    font.lfUnderline = static_cast<BYTE>(m_bUnderline);
    const HFONT previous = m_fontLink;
    m_fontLink = CreateFontIndirectA(&font);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLink), TRUE);
    if (previous)
        DeleteObject(previous);

    SizeToText();
    LoadHandCursor();
    if (m_tip.Create(this))
        m_tip.AddTool(this, m_strTarget, GetClientRect(), 1);
    CStatic::PreSubclassWindow();
}

BOOL CLinkStatic::PreTranslateMessage(MSG* msg)
{
    m_tip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

void CLinkStatic::SizeToText()
{
    if (!IsWindow() || !m_bSizeToText)
        return;
    RECT rect = GetWindowRect();
    MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&rect), 2);

    const std::string text = GetWindowText();
    const HDC dc = GetDC(m_hWnd);
    const HGDIOBJ old = SelectObject(dc, m_fontLink);
    const SIZE size = TextExtent(dc, text);
    SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);

    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE) {
        const int dy = (rect.bottom - rect.top - size.cy) / 2;
        rect.top += dy;
        rect.bottom -= dy;
    } else {
        rect.bottom = rect.top + size.cy;
    }
    const DWORD alignment = style & SS_TYPEMASK;
    if (alignment == SS_CENTER) {
        const int dx = (rect.right - rect.left - size.cx) / 2;
        rect.left += dx;
        rect.right -= dx;
    } else if (alignment == SS_RIGHT) {
        rect.left = rect.right - size.cx;
    } else {
        rect.right = rect.left + size.cx;
    }
    SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER);
}

// The hand of the Windows Help program where it has one (older systems have no system hand),
// else the system's hand. The copy is the control's own.
void CLinkStatic::LoadHandCursor()
{
    if (m_hHandCursor)
        return;
    char folder[MAX_PATH] = "";
    if (GetWindowsDirectoryA(folder, sizeof folder)) {
        const std::string helpProgram = std::string(folder) + "\\winhlp32.exe";
        if (const HMODULE module = LoadLibraryA(helpProgram.c_str())) {
            if (const HCURSOR hand = LoadCursorA(module, MAKEINTRESOURCEA(106)))
                m_hHandCursor = CopyCursor(hand);
            FreeLibrary(module);
        }
    }
    if (!m_hHandCursor) {
        if (const HCURSOR hand = LoadCursor(nullptr, IDC_HAND))
            m_hHandCursor = CopyCursor(hand);
    }
}

BOOL CLinkStatic::OnSetCursor(HWND, UINT, UINT)
{
    if (!m_hHandCursor)
        return FALSE;
    SetCursor(m_hHandCursor);
    return TRUE;
}

void CLinkStatic::RedrawNow()
{
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// The control keeps the mouse while it is over it, to see it leave.
void CLinkStatic::OnMouseMove(UINT, POINT point)
{
    Default();
    if (!m_bHover) {
        m_bHover = TRUE;
        RedrawNow();
        SetCapture(m_hWnd);
        return;
    }
    const RECT client = GetClientRect();
    if (!PtInRect(&client, point)) {
        m_bHover = FALSE;
        ReleaseCapture();
        RedrawNow();
    }
}

// Another window took the mouse (the failure box, say): the mouse is no longer followed, so the
// highlight goes.
void CLinkStatic::OnCaptureChanged(HWND)
{
    if (!m_bHover)
        return;
    m_bHover = FALSE;
    RedrawNow();
}

HBRUSH CLinkStatic::CtlColor(HDC dc, UINT)
{
    SetTextColor(dc, m_bHover ? m_clrHover : (m_bOpened ? m_clrVisited : m_clrNormal));
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CLinkStatic::OnClicked()
{
    const int result = OpenTarget(m_strTarget, SW_SHOW);
    m_bOpened = result > 32;
    if (m_bOpened) {
        MarkOpened(TRUE);
        return;
    }
    m_beep(MB_ICONEXCLAMATION);
    ShowOpenError(result);
}

void CLinkStatic::MarkOpened(BOOL opened)
{
    m_bOpened = opened;
    if (IsWindow())
        Invalidate(TRUE);
}

int CLinkStatic::OpenTarget(const std::string& address, int showCmd)
{
    const int shellResult = static_cast<int>(reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, showCmd)));
    if (shellResult > 32)
        return shellResult;
    // The shell could not open it: run the browser command registered for web pages.
    std::string pageClass;
    if (ReadClassKeyDefault(HKEY_CLASSES_ROOT, ".htm", pageClass) != ERROR_SUCCESS)
        return shellResult;
    std::string commandTemplate;
    if (ReadClassKeyDefault(HKEY_CLASSES_ROOT, pageClass + "\\shell\\open\\command", commandTemplate) !=
        ERROR_SUCCESS)
        return shellResult;
    return static_cast<int>(WinExec(BrowserCommandLine(commandTemplate, address).c_str(),
                                    static_cast<UINT>(showCmd)));
}

LONG CLinkStatic::ReadClassKeyDefault(HKEY root, const std::string& subKey, std::string& value)
{
    HKEY key = nullptr;
    LONG error = RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (error != ERROR_SUCCESS)
        return error;
    // An absent default value is a failure too (RegQueryValueA would give an empty text).
    char data[REG_VALUE_MAX + 1] = "";
    DWORD size = REG_VALUE_MAX;
    error = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (error == ERROR_SUCCESS)
        value = data;
    return error;
}

void CLinkStatic::ShowOpenError(int result)
{
    std::string reason;
    for (const auto& entry : OpenFailureTexts) {
        if (entry.code == result)
            reason = LoadResString(entry.text);
    }
    if (reason.empty())
        reason = FormatResString(IDS_LINK_UNKNOWN_ERROR, result);
    ShowMessageBox(LoadResString(IDS_LINK_FAILED) + reason, MB_ICONEXCLAMATION | MB_OK);
}
