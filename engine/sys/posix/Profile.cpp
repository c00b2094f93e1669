// Our own settings-file reader and writer. The layout rules follow what the Windows build's
// profile calls do under Wine, so that a config.ini written by either build reads the same in both
// and a rewrite by either gives the same bytes.
#include "../Profile.h"

#include "../ProfileText.h"

namespace sys {

std::string ProfileGetString(const std::string& path, const char* section, const char* key, const char* def,
                             size_t bufferSize) {
    ProfileText text;
    if (section && key && bufferSize) text.Load(path);  // a file that cannot be read gives the default
    return text.GetString(section, key, def, bufferSize);
}

int ProfileGetInt(const std::string& path, const char* section, const char* key, int def) {
    ProfileText text;
    if (section && key) text.Load(path);
    return text.GetInt(section, key, def);
}

bool ProfileWriteString(const std::string& path, const char* section, const char* key, const char* value) {
    if (!section) return false;
    ProfileText text;
    const ProfileText::Loaded loaded = text.Load(path);
    if (!key || !value) {
        // Nothing to remove from a file that is not there.
        if (loaded != ProfileText::Loaded::kYes) return loaded == ProfileText::Loaded::kMissing;
    } else if (loaded == ProfileText::Loaded::kUnreadable) {
        // A file that is there but cannot be read is not overwritten with only the new key.
        return false;
    }
    // An unchanged text is not rewritten.
    return !text.Write(section, key, value) || text.Store(path);
}

}  // namespace sys
