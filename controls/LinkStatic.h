#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "framework/Controls.h"
#include "framework/ToolTipCtrl.h"

// Turns a static text of a dialog into a web link. Bound to the static through data exchange, it
// underlines the text in the link colour, shows a hand cursor, a highlight colour and the address
// in a tooltip while the mouse is over it, and opens the address on a click (the visited colour
// after a successful open; a beep and a message box after a failed one).
class CLinkStatic : public CStatic
{
public:
    // The failure sound: the system's by default; a test hands in its own to hear it.
    using BeepFunction = std::function<void(UINT type)>;
    explicit CLinkStatic(BeepFunction beep = [](UINT type) { MessageBeep(type); });
    ~CLinkStatic() override;

    BOOL PreTranslateMessage(MSG* msg) override;

    // Opens the address with the system's handler for web pages, else with the browser command
    // registered for .htm pages. Above 32 means success; below, the shell's or WinExec's code.
    static int OpenTarget(const std::string& address, int showCmd);
    // Explains a failed open (a result code of OpenTarget) in a message box.
    static void ShowOpenError(int result);
    // Reads the default value of root\subKey: 0, or the registry's error code.
    static LONG ReadClassKeyDefault(HKEY root, const std::string& subKey, std::string& value);

    // Sets the visited state and repaints in its colour.
    void MarkOpened(BOOL opened);
    // Fits the window to its text: height and width, kept in place by its alignment.
    void SizeToText();

    COLORREF m_clrNormal = RGB(0, 0, 238);
    COLORREF m_clrVisited = RGB(85, 26, 139);
    COLORREF m_clrHover;
    BOOL m_bHover = FALSE;       // the mouse is over the control, which holds the capture
    BOOL m_bOpened = FALSE;      // the last click opened the address
    BOOL m_bUnderline = TRUE;
    BOOL m_bSizeToText = TRUE;
    std::string m_strTarget;     // empty: the control's text
    HFONT m_fontLink = nullptr;  // owned
    HCURSOR m_hHandCursor = nullptr; // a private copy, owned
    CToolTipCtrl m_tip;

protected:
    void PreSubclassWindow() override;
    HBRUSH CtlColor(HDC dc, UINT ctlType);
    void OnClicked();
    void OnMouseMove(UINT flags, POINT point);
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message);
    void OnCaptureChanged(HWND newCapture);
    void LoadHandCursor();

private:
    void RedrawNow();

    BeepFunction m_beep;

    DECLARE_MESSAGE_MAP()
};

// The command line that opens the address with a browser command template: the template cut at
// its first "%1" placeholder (the quoted one first; the whole template when it has none), one
// blank, the address.
std::string BrowserCommandLine(const std::string& commandTemplate, const std::string& address);
