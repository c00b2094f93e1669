#include "sys/BinaryFile.h"

#include <windows.h>

namespace sys {

namespace {
HANDLE H(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
}  // namespace

BinaryFile::~BinaryFile() { Close(); }

bool BinaryFile::Open(const std::string& path, bool keep) {
    Close();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           keep ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<intptr_t>(h);
    return true;
}

bool BinaryFile::Write(const void* bytes, size_t count) {
    if (!IsOpen()) return false;
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        DWORD piece = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(H(handle_), next, piece, &written, nullptr) || written == 0) return false;
        next += written;
        count -= written;
    }
    return true;
}

bool BinaryFile::SeekEnd() {
    LARGE_INTEGER zero{};
    return IsOpen() && SetFilePointerEx(H(handle_), zero, nullptr, FILE_END);
}

bool BinaryFile::Truncate() {
    LARGE_INTEGER zero{};
    return IsOpen() && SetFilePointerEx(H(handle_), zero, nullptr, FILE_BEGIN) && SetEndOfFile(H(handle_));
}

namespace {
bool SeekTo(HANDLE h, int64_t offset) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    return offset >= 0 && SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
}
}  // namespace

bool BinaryFile::ReadAt(int64_t offset, void* bytes, size_t count) {
    if (!IsOpen() || !SeekTo(H(handle_), offset)) return false;
    char* next = static_cast<char*>(bytes);
    while (count > 0) {
        DWORD piece = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
        DWORD got = 0;
        if (!ReadFile(H(handle_), next, piece, &got, nullptr) || got == 0) return false;
        next += got;
        count -= got;
    }
    return true;
}

bool BinaryFile::WriteAt(int64_t offset, const void* bytes, size_t count) {
    return IsOpen() && SeekTo(H(handle_), offset) && Write(bytes, count);
}

bool BinaryFile::SetLength(int64_t length) {
    return IsOpen() && SeekTo(H(handle_), length) && SetEndOfFile(H(handle_));
}

int64_t BinaryFile::Size() const {
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(H(handle_), &size)) return -1;
    return size.QuadPart;
}

void BinaryFile::Close() {
    if (!IsOpen()) return;
    CloseHandle(H(handle_));
    handle_ = kInvalid;
}

}  // namespace sys
