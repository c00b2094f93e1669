#include "MediaFiles.h"

#include <cstdio>
#include <fstream>
#include <iterator>

using Bytes = std::vector<uint8_t>;

std::string MediaDir() {
    std::string dir = __FILE__;
    dir = dir.substr(0, dir.find_last_of("/\\") + 1) + "../../fixtures/media/";
#ifdef _WIN32
    // Built on Linux, run under Wine: the source tree is reached through drive Z:.
    if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
#endif
    return dir;
}

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

