#pragma once
#include <string>

#include "framework/Dialog.h"

// A dialog with a format box (IDC_FORMAT_TEXT) and a line under it (IDC_FORMAT_EXAMPLE) that
// shows, at each keystroke, what the typed format gives, or why it cannot be used.
class CFormatExampleDlg : public CDialog
{
public:
    using CDialog::CDialog;

    // What the example line says for a typed format.
    virtual std::string ExampleText(const std::string& format) const = 0;
    BOOL OnInitDialog() override;

protected:
    void OnFormatChanged();

    DECLARE_MESSAGE_MAP()
};
