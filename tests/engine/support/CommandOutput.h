// Runs a shell command (native builds only) and returns what it wrote to its standard output, for
// tests that ask ffmpeg or ffprobe about a file.
#pragma once
#if !defined(_WIN32)
#include <cstdio>
#include <string>

inline std::string CommandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}
#endif
