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

// What an in-place editor needs of the list it edits: to be told when the editor is deleted,
// so the list never uses it again.
class ICellEditorOwner
{
public:
    virtual void EditorGone(CWnd* editor) = 0;

protected:
    ~ICellEditorOwner() = default;
};

// The in-place text editor over one cell. It reports its text with LVN_ENDLABELEDIT in the
// list's name when the text changed, then destroys itself; the object deletes itself.
class CCellEdit : public CEdit, public ICellEditor
{
public:
    CCellEdit(ICellEditorOwner& owner, int row, int column, const std::string& text);
    ~CCellEdit() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    void EndEdit() override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnKillFocus(HWND gaining);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void PostNcDestroy() override { delete this; }

private:
    void GrowToText();

    ICellEditorOwner& m_owner;
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
    CCellCombo(ICellEditorOwner& owner, int row, int column, const std::string& genreName);
    ~CCellCombo() override;

    void EndEdit() override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnKillFocus(HWND gaining);
    void OnMouseWheel(UINT keys, short delta, POINT point);
    void PostNcDestroy() override { delete this; }

private:
    ICellEditorOwner& m_owner;
    int m_nRow;
    int m_nColumn;
    std::string m_strOriginal;
    std::map<std::string, int> m_genreIndex;
    bool m_bEnded = false;

    DECLARE_MESSAGE_MAP()
};
