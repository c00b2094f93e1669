#include "FileSystem.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace sys {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::path(NativePath(path)), ec);
}

bool CopyFileOver(const std::string& src, const std::string& dst) {
    std::error_code ec;
    // The Windows build's library refuses to overwrite an existing file whatever the options say.
    fs::remove(fs::path(NativePath(dst)), ec);
    return fs::copy_file(fs::path(NativePath(src)), fs::path(NativePath(dst)),
                         fs::copy_options::overwrite_existing, ec);
}

bool MoveFileOver(const std::string& src, const std::string& dst) {
    std::error_code ec;
    fs::rename(fs::path(NativePath(src)), fs::path(NativePath(dst)), ec);
    return !ec;
}

bool RemoveFile(const std::string& path) {
    std::error_code ec;
    return fs::remove(fs::path(NativePath(path)), ec);
}

}  // namespace sys
