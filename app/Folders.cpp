#include "Folders.h"

#include "Forms.h"
#include "FolderDialog.h"
#include "Interface.h"
#include "ProgramTexts.h"

namespace {

bool FolderExists(const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool ConfirmFolder(HWND owner, const std::string& folder) {
    if (FolderExists(folder)) return true;
    const int answer = ui::ShowMessageBox(owner, "The directory is not exist,create it?", kWarningCaption,
                                          MB_ICONWARNING | MB_OKCANCEL);
    if (answer != IDOK) return false;
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        ui::ShowMessage("Can not create the directory!");
        return false;
    }
    return true;
}

std::string WithBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string ProgramDownloadFolder() {
    const std::string folder = std::string(ProgramDirectory()) + "\\Downloads";
    CreateDirectoryA(folder.c_str(), nullptr);  // most often it is there already
    return folder;
}

bool ChooseFolderWithShell(std::string& folder) {
    return ui::SelectDirectoryWithOptions(folder, ui::sdAllowCreate | ui::sdPerformCreate | ui::sdPrompt, 1000);
}
