#include <sys/stat.h>

#include "../FileSystem.h"

namespace sys {

int64_t FileSize64(const std::string& path) {
    struct stat info;
    if (::stat(NativePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    return static_cast<int64_t>(info.st_size);
}

}  // namespace sys
