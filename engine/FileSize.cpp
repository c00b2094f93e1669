#include "FileSize.h"

#include <climits>
#include <fstream>

long GetFileSize(const std::string& path) {
    // A stream, not ftell: its 64-bit offsets stay right past 2 GiB where long is 32 bits.
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in.is_open()) return -1;
    std::streamoff size = in.tellg();
    if (size < 0) return -1;
    // Some systems open a directory but fail on the first read.
    in.seekg(0);
    in.peek();
    if (in.bad()) return -1;
    return size > static_cast<std::streamoff>(LONG_MAX) ? LONG_MAX : static_cast<long>(size);
}
