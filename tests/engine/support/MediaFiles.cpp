#include "MediaFiles.h"

std::string MediaDir() {
    std::string dir = __FILE__;
    dir = dir.substr(0, dir.find_last_of("/\\") + 1) + "../../fixtures/media/";
#ifdef _WIN32
    // Built on Linux, run under Wine: the source tree is reached through drive Z:.
    if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
#endif
    return dir;
}

std::string MediaPath(const std::string& name) { return MediaDir() + name; }
