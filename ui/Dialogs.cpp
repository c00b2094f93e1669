#include "Dialogs.h"

#include <windows.h>
#include <shlobj.h>

namespace ui {

namespace {
int CALLBACK StartAt(HWND hwnd, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}
}  // namespace

bool SelectDirectory(std::string& directory, bool allowCreate, int) {
    char chosen[MAX_PATH] = {};
    BROWSEINFOA bi{};
    bi.hwndOwner = GetActiveWindow();
    bi.pszDisplayName = chosen;
    bi.ulFlags = BIF_RETURNONLYFSDIRS | (allowCreate ? BIF_NEWDIALOGSTYLE : BIF_NONEWFOLDERBUTTON);
    bi.lpfn = &StartAt;
    bi.lParam = reinterpret_cast<LPARAM>(directory.c_str());
    // The new-style chooser is built from COM objects: this thread needs an apartment while it runs.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    LPITEMIDLIST list = SHBrowseForFolderA(&bi);
    const bool ok = list && SHGetPathFromIDListA(list, chosen) != FALSE;
    if (list) CoTaskMemFree(list);
    if (SUCCEEDED(com)) CoUninitialize();
    if (ok) directory = chosen;
    return ok;
}

}  // namespace ui
