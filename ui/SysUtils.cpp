#include "SysUtils.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace ui {

std::string Trim(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return text.substr(first, last - first);
}

int StrToInt(const std::string& text) {
    const std::string t = Trim(text);
    const char* begin = t.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (t.empty() || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        throw EConvertError("'" + text + "' is not a valid integer value");
    }
    return static_cast<int>(value);
}

void ThrowListIndexError(int index) { throw Exception("List index out of bounds (" + std::to_string(index) + ")"); }

}  // namespace ui
