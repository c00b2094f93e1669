#include <dirent.h>

#include <algorithm>

#include "../FileSystem.h"

namespace sys {

std::string NativePath(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

bool FolderHasEntries(const std::string& dir) {
    if (dir.empty()) return false;
    DIR* folder = opendir(NativePath(dir).c_str());
    if (!folder) return false;
    // Like a Windows search, an open folder always lists at least "." itself.
    const bool found = readdir(folder) != nullptr;
    closedir(folder);
    return found;
}

}  // namespace sys
