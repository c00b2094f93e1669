#include "FolderDialog.h"

#include <shlobj.h>

#include "Forms.h"

namespace ui {

namespace {

struct ChooserState {
    const std::string* start;
    unsigned options;
    std::string typed;  // a typed folder the chooser closed with
    bool typedAccepted = false;
};

bool IsFolder(const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int CALLBACK ChooserEvent(HWND hwnd, UINT message, LPARAM lParam, LPARAM data) {
    auto* state = reinterpret_cast<ChooserState*>(data);
    switch (message) {
    case BFFM_INITIALIZED:
        SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(state->start->c_str()));
        return 0;
    case BFFM_VALIDATEFAILEDA: {
        const std::string typed = reinterpret_cast<const char*>(lParam);
        if (!AcceptTypedFolder(typed, state->options, hwnd)) return 1;  // stays open
        state->typed = typed;
        state->typedAccepted = true;
        return 0;
    }
    default:
        return 0;
    }
}

}  // namespace

bool AcceptTypedFolder(const std::string& folder, unsigned options, HWND owner) {
    if (folder.empty()) return false;
    if (IsFolder(folder)) return true;
    if (!(options & sdAllowCreate)) return false;
    if (!(options & sdPerformCreate)) return true;
    if (options & sdPrompt) {
        const int answer = ShowMessageBox(owner, "The folder " + folder + " does not exist. Create it?", "Confirm",
                                          MB_YESNO | MB_ICONQUESTION);
        if (answer != IDYES) return false;
    }
    // Every missing level, as a typed path may name several.
    const int created = SHCreateDirectoryExA(owner, folder.c_str(), nullptr);
    return (created == ERROR_SUCCESS || created == ERROR_ALREADY_EXISTS) && IsFolder(folder);
}

bool SelectDirectoryWithOptions(std::string& directory, unsigned options, int) {
    char chosen[MAX_PATH] = {};
    ChooserState state{&directory, options};
    BROWSEINFOA bi{};
    bi.hwndOwner = GetActiveWindow();
    bi.pszDisplayName = chosen;
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE |
                 ((options & sdAllowCreate) ? BIF_NEWDIALOGSTYLE : BIF_NONEWFOLDERBUTTON);
    bi.lpfn = &ChooserEvent;
    bi.lParam = reinterpret_cast<LPARAM>(&state);
    // The chooser with a new-folder button needs COM in this thread's apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    LPITEMIDLIST list = SHBrowseForFolderA(&bi);
    if (SUCCEEDED(com)) CoUninitialize();
    if (!list) {
        if (!state.typedAccepted) return false;
        directory = state.typed;
        return true;
    }
    const bool ok = SHGetPathFromIDListA(list, chosen) != FALSE;
    CoTaskMemFree(list);
    if (ok) directory = chosen;
    return ok;
}

}  // namespace ui
