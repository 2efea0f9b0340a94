#pragma once
#include <map>
#include <string>

#include "controls/SlotEdit.h"
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

// The cell an in-place editor works on, and its owner, told when the editor is deleted.
class CEditedCell
{
public:
    CEditedCell(ICellEditorOwner& owner, CWnd& editor, int row, int column, std::string text)
        : m_owner(owner), m_editor(editor), m_nRow(row), m_nColumn(column), m_strOriginal(std::move(text))
    {
    }
    ~CEditedCell() { m_owner.EditorGone(&m_editor); }
    CEditedCell(const CEditedCell&) = delete;
    CEditedCell& operator=(const CEditedCell&) = delete;

    const std::string& Original() const { return m_strOriginal; }
    // True the first time only: an edit ends once, whatever ends it.
    bool Ending();
    // Reports the edit with LVN_ENDLABELEDIT in the list's name (text null: cancelled); data is
    // the genre number of a picker.
    void Report(UINT editorId, const std::string* text, LPARAM data = 0) const;

private:
    ICellEditorOwner& m_owner;
    CWnd& m_editor;
    int m_nRow;
    int m_nColumn;
    std::string m_strOriginal;
    bool m_bEnded = false;
};

// What both editors are: a control over one cell that deletes itself when its window goes.
template <class Control>
class CCellEditor : public Control, public ICellEditor
{
public:
    CCellEditor(ICellEditorOwner& owner, int row, int column, const std::string& text)
        : m_cell(owner, *this, row, column, text)
    {
    }

protected:
    void PostNcDestroy() override { delete this; }
    // The start of both editors' creation: the window made, in the list's font; false on failure.
    bool CreateInListFont()
    {
        if (this->Default() == -1)
            return false;
        const LRESULT font = ::SendMessageA(this->GetParent(), WM_GETFONT, 0, 0);
        this->SendMessage(WM_SETFONT, static_cast<WPARAM>(font), TRUE);
        return true;
    }

    CEditedCell m_cell;
};

// The in-place text editor over one cell. It reports its text with LVN_ENDLABELEDIT in the
// list's name when the text changed, then destroys itself; the object deletes itself.
class CCellEdit : public CCellEditor<CSlotEdit>
{
public:
    using CCellEditor::CCellEditor;

    BOOL PreTranslateMessage(MSG* msg) override;
    void EndEdit() override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnKillFocus(HWND gaining);
    void OnChar(UINT ch, UINT repeat, UINT flags);

private:
    void GrowToText();

    BOOL m_bCancelled = FALSE;

    DECLARE_MESSAGE_MAP()
};

// The in-place genre picker over a Genre cell: an empty entry and the genre names, sorted.
class CCellCombo : public CCellEditor<CComboBox>
{
public:
    using CCellEditor::CCellEditor;

    void EndEdit() override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnKillFocus(HWND gaining);
    void OnMouseWheel(UINT keys, short delta, POINT point);

private:
    std::map<std::string, int> m_genreIndex;

    DECLARE_MESSAGE_MAP()
};
