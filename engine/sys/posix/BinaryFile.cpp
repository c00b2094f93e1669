#include "sys/BinaryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sys/FileSystem.h"

namespace sys {

BinaryFile::~BinaryFile() { Close(); }

bool BinaryFile::Open(const std::string& path, bool keep) {
    Close();
    int flags = O_RDWR | O_CREAT | O_CLOEXEC | (keep ? 0 : O_TRUNC);
    int fd = ::open(NativePath(path).c_str(), flags, 0644);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

bool BinaryFile::Write(const void* bytes, size_t count) {
    if (!IsOpen()) return false;
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        ssize_t n = ::write(static_cast<int>(handle_), next, count);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        next += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

bool BinaryFile::SeekEnd() { return IsOpen() && ::lseek(static_cast<int>(handle_), 0, SEEK_END) >= 0; }

bool BinaryFile::Truncate() {
    return IsOpen() && ::ftruncate(static_cast<int>(handle_), 0) == 0 &&
           ::lseek(static_cast<int>(handle_), 0, SEEK_SET) == 0;
}

bool BinaryFile::ReadAt(int64_t offset, void* bytes, size_t count) {
    if (!IsOpen() || offset < 0 || ::lseek(static_cast<int>(handle_), offset, SEEK_SET) != offset) return false;
    char* next = static_cast<char*>(bytes);
    while (count > 0) {
        ssize_t n = ::read(static_cast<int>(handle_), next, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        next += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

bool BinaryFile::WriteAt(int64_t offset, const void* bytes, size_t count) {
    if (!IsOpen() || offset < 0 || ::lseek(static_cast<int>(handle_), offset, SEEK_SET) != offset) return false;
    return Write(bytes, count);
}

bool BinaryFile::SetLength(int64_t length) {
    return IsOpen() && length >= 0 && ::ftruncate(static_cast<int>(handle_), length) == 0 &&
           ::lseek(static_cast<int>(handle_), length, SEEK_SET) == length;
}

int64_t BinaryFile::Size() const {
    struct stat info;
    if (!IsOpen() || fstat(static_cast<int>(handle_), &info) != 0) return -1;
    return static_cast<int64_t>(info.st_size);
}

void BinaryFile::Close() {
    if (!IsOpen()) return;
    ::close(static_cast<int>(handle_));
    handle_ = kInvalid;
}

}  // namespace sys
