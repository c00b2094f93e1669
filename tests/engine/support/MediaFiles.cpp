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

#ifndef _WIN32
std::string Framecrc(const std::string& path, const std::string& options,
                     const std::string& inputOptions) {
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error " + inputOptions +
                                " -i '" + path + "' " + options + " -f framecrc - 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        if (pclose(pipe) != 0) out += "\nffmpeg failed";
    }
    // The lines that describe the input name the file; keep only the per-packet lines.
    std::string lines;
    size_t start = 0;
    for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = out.substr(start, end - start);
        if (!line.empty() && line[0] != '#') lines += line + "\n";
    }
    return lines + out.substr(start);
}
#endif
