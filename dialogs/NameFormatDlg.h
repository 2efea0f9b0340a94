#pragma once
#include <functional>
#include <string>

#include "dialogs/FormatExampleDlg.h"
#include "rename/NameFormat.h"

// The file-name format in force and the dialog that changes it. The object lives as long as the
// main window; its window exists only while the dialog is open. It loads the stored format
// when made, and stores a valid format when the user confirms it.
class CNameFormatDlg : public CFormatExampleDlg, public CNameFormat
{
public:
    explicit CNameFormatDlg(CWnd* parent = nullptr);

    const std::string& GetFormat() const { return m_strFormat; }
    // Puts a format in force (compiled) without storing it.
    void SetFormat(const std::string& format);
    // The name a format gives the file the example is about; set before the dialog opens.
    std::function<std::string(const CNameFormat& format)> m_exampleName;
    // What the example line says for a typed format: the name, or why the format is refused.
    std::string ExampleText(const std::string& format) const override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Puts the typed format in force and stores it when it is valid; closes with OK either way.
    void OnOK() override;
};

// Where the format is stored, and the format of a first start.
extern const char* const FORMAT_SECTION;
extern const char* const FORMAT_ENTRY;
extern const char* const DEFAULT_FORMAT;

// The File Name Format command: runs the dialog until the user confirms a valid format or gives
// up. An invalid format is reported (the dialog then opens again showing it); giving up after
// that puts back the format in force before the command. True when a valid format was confirmed.
bool RunFormatCommand(CNameFormatDlg& dlg);
