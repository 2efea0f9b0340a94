#pragma once
#include <functional>
#include <string>

#include "dialogs/FormatExampleDlg.h"
#include "rename/NameReader.h"

// Tools > Tags From File Names: a format of the rename language read backwards, with a live
// example of what it reads from one file's name. OK with a format that cannot be read says
// why and keeps the dialog open; a readable one is stored and the dialog closes.
class CTagsFromNamesDlg : public CFormatExampleDlg
{
public:
    explicit CTagsFromNamesDlg(std::string examplePath, CWnd* parent = nullptr);

    const std::string& Format() const { return m_strFormat; }
    std::string ExampleText(const std::string& format) const override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

private:
    std::string m_strFormat;
    std::string m_strExamplePath; // empty: no row to read from
};

// Why a format cannot be read, in words; empty when it can.
std::string NameReadProblemText(NameReadError error);
