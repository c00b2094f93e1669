#include "Framecrc.h"

#ifndef _WIN32
#include <cstdio>

std::string Framecrc(const std::string& input, const std::string& options, const std::string& inputOptions) {
    const std::string command = "timeout 30 ffmpeg -nostdin -hide_banner -loglevel error " + inputOptions + " -i '" +
                                input + "' " + options + " -f framecrc - 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        if (pclose(pipe) != 0) out += "\nffmpeg failed";
    }
    std::string lines;
    size_t start = 0;
    for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = out.substr(start, end - start);
        if (!line.empty() && line[0] != '#') lines += line + "\n";
    }
    return lines + out.substr(start);
}
#endif
