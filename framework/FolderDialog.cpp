#include "FolderDialog.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "WideText.h"

// Vista's; the headers declare it only for newer targets than ours.
extern "C" DECLSPEC_IMPORT HRESULT WINAPI SHCreateItemFromParsingName(PCWSTR path, IBindCtx* context, REFIID id,
                                                                     void** item);

namespace {

// Releases a COM interface when it goes.
template <class T>
struct ComPtr
{
    T* p = nullptr;
    ~ComPtr()
    {
        if (p)
            p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

// S_OK with a folder, S_FALSE when the user cancelled, an error when the dialog is missing.
HRESULT PickWithFileDialog(HWND owner, const std::string& initial, std::string& chosen)
{
    ComPtr<IFileOpenDialog> dialog;
    HRESULT hr = CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                  reinterpret_cast<void**>(&dialog));
    if (FAILED(hr))
        return hr;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    ComPtr<IShellItem> start;
    if (!initial.empty() &&
        SUCCEEDED(SHCreateItemFromParsingName(Widen(initial).c_str(), nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(&start))))
        dialog->SetFolder(start.p);
    hr = dialog->Show(owner);
    if (hr == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return S_FALSE;
    if (FAILED(hr))
        return hr;
    ComPtr<IShellItem> result;
    wchar_t* path = nullptr;
    if (FAILED(dialog->GetResult(&result)) || FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return S_FALSE;
    chosen = Narrow(path);
    CoTaskMemFree(path);
    return S_OK;
}

int CALLBACK StartAt(HWND browser, UINT message, LPARAM, LPARAM initial)
{
    if (message == BFFM_INITIALIZED && initial)
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, initial);
    return 0;
}

bool PickWithFolderBrowser(HWND owner, const std::string& initial, std::string& chosen)
{
    char name[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = name;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = &StartAt;
    info.lParam = initial.empty() ? 0 : reinterpret_cast<LPARAM>(initial.c_str());
    PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&info);
    if (!item)
        return false;
    char path[MAX_PATH] = "";
    const bool ok = SHGetPathFromIDListA(item, path) != FALSE;
    CoTaskMemFree(item);
    if (ok)
        chosen = path;
    return ok;
}

} // namespace

bool PickFolder(HWND owner, const std::string& initial, std::string& chosen)
{
    const HRESULT hr = PickWithFileDialog(owner, initial, chosen);
    if (SUCCEEDED(hr))
        return hr == S_OK;
    return PickWithFolderBrowser(owner, initial, chosen);
}
