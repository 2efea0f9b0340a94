#include "FileDialog.h"

#include <algorithm>

#include "LateBound.h"
#include "WinApp.h"

namespace {

FileDialogHandler& CurrentHandler()
{
    static FileDialogHandler s_handler;
    return s_handler;
}

} // namespace

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler)
{
    FileDialogHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

CFileDialog::CFileDialog(const char* defaultExt, DWORD flags, const std::string& filter, size_t bufferChars,
                         CWnd* parent)
    : m_strFilter(filter), m_strDefaultExt(defaultExt ? defaultExt : ""), m_nBufferChars(bufferChars)
{
    std::replace(m_strFilter.begin(), m_strFilter.end(), '|', '\0');
    m_ofn.lStructSize = sizeof m_ofn;
    CWnd* owner = parent ? parent : (GetApp() ? GetApp()->GetMainWnd() : nullptr);
    m_ofn.hwndOwner = owner ? owner->m_hWnd : nullptr;
    m_ofn.hInstance = GetModuleHandleA(nullptr);
    m_ofn.lpstrFilter = m_strFilter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrDefExt = defaultExt ? m_strDefaultExt.c_str() : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal()
{
    std::vector<char> buffer(m_nBufferChars, '\0');
    m_ofn.lpstrFile = buffer.data();
    m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    m_paths.clear();
    m_dwError = 0;

    BOOL ok;
    if (CurrentHandler()) {
        ok = CurrentHandler()(m_ofn, m_dwError);
    } else {
        static const auto open = LateBound<decltype(GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
        static const auto error = LateBound<decltype(CommDlgExtendedError)>("comdlg32.dll", "CommDlgExtendedError");
        ok = open && open(&m_ofn);
        if (!ok)
            m_dwError = error ? error() : CDERR_INITIALIZATION;
    }
    bool fits = true;
    if (ok)
        m_paths = SplitList(buffer.data(), buffer.size(), fits);
    m_ofn.lpstrFile = nullptr;
    m_ofn.nMaxFile = 0;
    if (!ok)
        return IDCANCEL;
    if (!fits) {
        m_paths.clear();
        m_dwError = FNERR_BUFFERTOOSMALL;
        return IDCANCEL;
    }
    return IDOK;
}

// One full path ("C:\a.mp3\0\0"), or a folder and names ("C:\music\0a.mp3\0b.mp3\0\0").
std::vector<std::string> CFileDialog::SplitList(const char* list, size_t chars, bool& fits)
{
    std::vector<std::string> parts;
    size_t start = 0;
    fits = false;
    for (size_t i = 0; i < chars; ++i) {
        if (list[i] != '\0')
            continue;
        if (i == start) { // two zeros in a row: the end of the list
            fits = true;
            break;
        }
        parts.emplace_back(list + start, i - start);
        start = i + 1;
    }
    if (!fits || parts.size() <= 1)
        return parts;
    std::string folder = parts.front();
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    std::vector<std::string> paths;
    for (size_t i = 1; i < parts.size(); ++i)
        paths.push_back(folder + parts[i]);
    return paths;
}
