#pragma once
#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>
#include <vector>

class CWnd;

// Shows the system's file dialog; returns its result and, on failure, its extended error.
// Tests replace it with a scripted answer.
using FileDialogHandler = std::function<BOOL(OPENFILENAMEA& ofn, DWORD& error)>;
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);

// The system's Open dialog, Explorer style. Its name buffer exists only while it runs.
class CFileDialog
{
public:
    // filter: pairs of description and pattern separated by '|', ending in "||".
    CFileDialog(const char* defaultExt, DWORD flags, const std::string& filter, size_t bufferChars,
                CWnd* parent = nullptr);

    // IDOK with the chosen paths, IDCANCEL for cancel or any failure (see GetError).
    INT_PTR DoModal();
    // The chosen files' full paths in the dialog's order.
    const std::vector<std::string>& GetPaths() const { return m_paths; }
    // The dialog's extended error; FNERR_BUFFERTOOSMALL also when the list did not end inside
    // the buffer (some systems cut it there and report success).
    DWORD GetError() const { return m_dwError; }

    OPENFILENAMEA m_ofn{};

private:
    static std::vector<std::string> SplitList(const char* list, size_t chars, bool& fits);

    std::string m_strFilter;
    std::string m_strDefaultExt;
    size_t m_nBufferChars;
    std::vector<std::string> m_paths;
    DWORD m_dwError = 0;
};
