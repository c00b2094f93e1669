#include "RowText.h"

#include <cstring>

namespace {

// A size, and so a percentage, the server has not told.
const char kUnknown[] = "Unknown";

}  // namespace

std::string GroupDigits(const std::string& text) {
    std::string rest = text, result;
    while (rest.size() > 3) {
        result = "," + rest.substr(rest.size() - 3) + result;
        rest.erase(rest.size() - 3);
    }
    return rest + result;
}

bool SplitPath(const char* path, char* dir, char* name) {
    const char* slash = std::strrchr(path, '\\');
    if (!slash) return false;
    const size_t dirLength = static_cast<size_t>(slash - path) + 1;
    std::memcpy(dir, path, dirLength);
    std::strcpy(name, slash + 1);
    return true;
}

std::string FileNamePart(const char* path) {
    if (!path) return std::string();
    const char* slash = std::strrchr(path, '\\');
    return slash ? std::string(slash + 1) : std::string();
}

std::string SizeCell(int32_t totalSize) {
    return totalSize == -1 ? std::string(kUnknown) : GroupDigits(std::to_string(totalSize));
}

bool PercentCell(int32_t totalSize, int32_t downloaded, std::string& text) {
    if (totalSize == 0) return false;
    if (totalSize == -1) {
        text = kUnknown;
        return true;
    }
    const double percent = static_cast<double>(downloaded) * 100.0 / static_cast<double>(totalSize);
    text = std::to_string(static_cast<long long>(percent)) + "%";
    return true;
}

std::string WithoutLastLineBreak(const char* text, size_t length) {
    if (!text || length < 2) return std::string();
    return std::string(text, length - 2);
}

ChartCounts ChartCells(int32_t totalSize, int32_t downloaded) {
    int32_t cells = totalSize / 1024;
    if (cells == 0) cells = 1;
    return {cells, downloaded == totalSize ? cells : downloaded / 1024};
}
