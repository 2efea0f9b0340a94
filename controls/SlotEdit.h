#pragma once
#include <functional>
#include <string>

#include "framework/Controls.h"

// An edit box that never holds more than a tag slot takes: a typed character that would not fit
// is refused with a beep, pasted text is cut before the first character that would not fit.
// Without a rule it takes anything.
class CSlotEdit : public CEdit
{
public:
    using FitsRule = std::function<bool(const std::string& text)>;
    void SetFitsRule(FitsRule fits) { m_fits = std::move(fits); }

protected:
    void OnChar(UINT ch, UINT repeat, UINT flags);
    LRESULT OnPaste(WPARAM, LPARAM);

private:
    // The text as it would be with the selection replaced by insert.
    std::string WithSelectionReplaced(const std::string& insert) const;

    FitsRule m_fits;

    DECLARE_MESSAGE_MAP()
};
