#include "FolderSearch.h"

#include "../FileSystem.h"

namespace sys {

std::string NativePath(const std::string& path) { return path; }

bool FolderHasEntries(const std::string& dir) { return DirectoryHasEntry(dir); }

}  // namespace sys
