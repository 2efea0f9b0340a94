#pragma once
#include <map>
#include <string>

#include "framework/Controls.h"

// What the list needs of an in-place editor: end the edit now, as a focus loss would.
class ICellEditor
{
public:
    virtual void EndEdit() = 0;

protected:
    ~ICellEditor() = default;
};

// The in-place text editor over one cell. It reports its text with LVN_ENDLABELEDIT in the
// list's name when the text changed, then destroys itself; the object deletes itself.
class CCellEdit : public CEdit, public ICellEditor
{
public:
    CCellEdit(int row, int column, const std::string& text);
    ~CCellEdit() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    void EndEdit() override;

    // How many editors exist right now (tests check that each one is deleted).
    static int s_nLiving;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnKillFocus(HWND gaining);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnNcDestroy();
    void PostNcDestroy() override { delete this; }

private:
    void GrowToText();

    int m_nRow;
    int m_nColumn;
    std::string m_strOriginal;
    BOOL m_bCancelled = FALSE;
    bool m_bEnded = false;

    DECLARE_MESSAGE_MAP()
};

// The in-place genre picker over a Genre cell: an empty entry and the genre names, sorted.
class CCellCombo : public CComboBox, public ICellEditor
{
public:
    CCellCombo(int row, const std::string& genreName);
    ~CCellCombo() override;

    void EndEdit() override;

    static int s_nLiving;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnKillFocus(HWND gaining);
    void OnMouseWheel(UINT keys, short delta, POINT point);
    void OnNcDestroy();
    void PostNcDestroy() override { delete this; }

private:
    int m_nRow;
    std::string m_strOriginal;
    std::map<std::string, int> m_genreIndex;
    bool m_bEnded = false;

    DECLARE_MESSAGE_MAP()
};
