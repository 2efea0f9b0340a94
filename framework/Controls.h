#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "FrameworkIds.h"
#include "Wnd.h"


// An image list, destroyed with its object.
class CImageList
{
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    bool Create(int cx, int cy, UINT flags, int initial, int grow);
    void DeleteImageList();
    int GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }
    int Add(HICON icon) { return ImageList_ReplaceIcon(m_hImageList, -1, icon); }
    operator HIMAGELIST() const { return m_hImageList; }

private:
    HIMAGELIST m_hImageList = nullptr;
};

// The list-view control, as far as the program uses it. Texts are ANSI.
class CListCtrl : public CWnd
{
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetSelectedCount() const { return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetNextItem(int start, UINT flags) const
    { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), flags)); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }

    bool DeleteItem(int row) { return SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(row)) != 0; }
    bool DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    std::string GetItemText(int row, int column) const;
    UINT GetItemState(int row, UINT mask) const
    { return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask)); }
    bool SetItemState(int row, UINT state, UINT mask);
    bool GetItemRect(int row, RECT& rect, int code) const;
    bool EnsureVisible(int row, bool partialOK)
    { return SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), partialOK) != 0; }
    bool Scroll(int dx, int dy) { return SendMessage(LVM_SCROLL, static_cast<WPARAM>(dx), dy) != 0; }
    int HitTest(POINT pt) const;
    bool RedrawItems(int first, int last)
    { return SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(first), last) != 0; }

    int InsertColumn(int column, const std::string& heading, int format, int width, int subItem);
    int GetColumnWidth(int column) const
    { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column))); }
    int GetColumnFormat(int column) const;
    int GetColumnCount() const;
    DWORD SetExtendedStyle(DWORD style)
    { return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style)); }
    DWORD GetExtendedStyle() const
    { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    HIMAGELIST SetImageList(HIMAGELIST images, int which)
    { return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images))); }
};

// Key-state indicator ids: their strings are the texts shown while the key is on.
constexpr UINT ID_SEPARATOR = 0;

// A status bar with a stretching message pane and key-state panes.
class CStatusBar : public CWnd
{
public:
    bool Create(HWND parent, UINT id, DWORD style = WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP);
    // One pane per id: ID_SEPARATOR for the message pane, else an indicator's string id.
    bool SetIndicators(const UINT* ids, int count);
    // Shows each indicator's text while its key is on.
    void UpdateIndicators();
    // Sizes the panes to the bar: indicators as wide as their texts, the message pane the rest.
    void LayoutPanes();
    void SetText(int pane, const std::string& text);
    std::string GetText(int pane) const;

private:
    std::vector<UINT> m_indicators;
};

// A static control: text, icon or frame.
class CStatic : public CWnd
{
};

// A single-line or multi-line edit box.
class CEdit : public CWnd
{
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    { return CreateEx(0, "EDIT", "", style, rect, parent, id); }
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
};

// A combo box, as far as the program uses it.
class CComboBox : public CWnd
{
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    { return CreateEx(0, "COMBOBOX", "", style, rect, parent, id); }
    int AddString(const std::string& text)
    { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()))); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int SelectString(int start, const std::string& text)
    { return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text.c_str()))); }
    int FindStringExact(int start, const std::string& text) const
    { return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text.c_str()))); }
    bool GetDroppedState() const { return SendMessage(CB_GETDROPPEDSTATE) != 0; }
    std::string GetLBText(int index) const;
};
