#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Wnd.h"

// A tooltip window. Its tools are areas of other windows; the windows hand it their mouse
// messages (RelayEvent), from which it knows when to show a tool's text.
class CToolTipCtrl : public CWnd
{
public:
    // Creates the tooltip for the tools of parent; style adds TTS_ flags.
    bool Create(CWnd* parent, DWORD style = 0);
    // A tool over rect (client coordinates of wnd) that shows text; false when not added.
    bool AddTool(CWnd* wnd, const std::string& text, const RECT& rect, UINT id);
    void RelayEvent(MSG* msg);
    // Changes a tool's text; an empty text shows no tip.
    void UpdateTipText(CWnd* wnd, UINT id, const std::string& text);
    // Hides the tip now, so the next one starts its wait afresh.
    void Pop() { SendMessage(TTM_POP); }

    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    // The text of a tool; empty when there is no such tool.
    std::string GetText(CWnd* wnd, UINT id) const;
};
