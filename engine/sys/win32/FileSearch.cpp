#include <windows.h>

#include "../FileSystem.h"

namespace sys {

std::string NativePath(const std::string& path) { return path; }

bool FolderHasEntries(const std::string& dir) {
    if (dir.empty()) return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

}  // namespace sys
