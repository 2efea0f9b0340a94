#pragma once
#include <string>

#include "controls/SlotEdit.h"
#include "framework/Dialog.h"

// Asks for the one text that a Batch-Edit command sets on every selected row: Title, Artist,
// Album, Year, Track or Comment, named by the command id. After OK, m_strValue holds the text
// exactly as typed; the caller applies it.
class CTagBatchDlg : public CDialog
{
public:
    // fits: what the value's slot takes (none: anything).
    explicit CTagBatchDlg(int commandId, CSlotEdit::FitsRule fits = {}, CWnd* parent = nullptr);

    std::string m_strPrompt;
    std::string m_strValue;
    std::string m_strCaption;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    CSlotEdit m_value;
};

// The field name a Batch-Edit command id puts into the prompt and the caption; empty for any
// other id.
std::string BatchFieldName(int commandId);
