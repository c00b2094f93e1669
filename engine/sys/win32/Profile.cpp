#include <windows.h>

#include <climits>
#include <vector>

#include "../Profile.h"

namespace sys {

std::string ProfileGetString(const std::string& path, const char* section, const char* key, const char* def,
                             size_t bufferSize) {
    if (bufferSize == 0) return std::string();
    const DWORD size = bufferSize > ULONG_MAX ? ULONG_MAX : static_cast<DWORD>(bufferSize);
    std::vector<char> buffer(size, '\0');
    const DWORD length = GetPrivateProfileStringA(section, key, def, buffer.data(), size, path.c_str());
    return std::string(buffer.data(), length);
}

int ProfileGetInt(const std::string& path, const char* section, const char* key, int def) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, def, path.c_str()));
}

bool ProfileWriteString(const std::string& path, const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value, path.c_str()) != FALSE;
}

}  // namespace sys
