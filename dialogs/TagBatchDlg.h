#pragma once
#include <string>

#include "framework/Dialog.h"

// Asks for the one text that a Batch-Edit command sets on every selected row: Title, Artist,
// Album, Year, Track or Comment, named by the command id. After OK, m_strValue holds the text
// exactly as typed; the caller applies it.
class CTagBatchDlg : public CDialog
{
public:
    explicit CTagBatchDlg(int commandId, CWnd* parent = nullptr);

    std::string m_strPrompt;
    std::string m_strValue;
    std::string m_strCaption;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};

// The field name a Batch-Edit command id puts into the prompt and the caption; empty for any
// other id.
std::string BatchFieldName(int commandId);
