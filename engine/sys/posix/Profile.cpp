// Our own settings-file reader and writer. The layout rules follow what the Windows build's
// profile calls do under Wine, so that a config.ini written by either build reads the same in both
// and a rewrite by either gives the same bytes.
#include "../Profile.h"

#include "../../AsciiText.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace sys {
namespace {

// Ctrl-Z counts as a blank too, as in old DOS text files.
constexpr char kBlanks[] = " \t\n\v\f\r\x1a";

std::string TrimLeft(const std::string& text) { return TrimLeftAscii(text, kBlanks); }

std::string Trim(const std::string& text) { return TrimAscii(text, kBlanks); }

bool SameName(const std::string& a, const std::string& b) { return EqualsNoCase(a, b); }

struct Entry {
    std::string name;
    bool hasValue = false;  // a line without '=' is kept, but reads as missing
    std::string value;
};

struct Section {
    std::string name;
    std::vector<Entry> entries;
};

// The first section is always the nameless one holding the lines above the first header.
struct Profile {
    bool bom = false;
    std::vector<Section> sections{Section{}};
};

const char kBom[] = "\xEF\xBB\xBF";

std::string LocalPath(const std::string& path) {
    std::string local = path;
    std::replace(local.begin(), local.end(), '\\', '/');
    return local;
}

void Parse(const std::string& text, Profile* profile) {
    size_t pos = 0;
    if (text.compare(0, 3, kBom) == 0) {
        profile->bom = true;
        pos = 3;
    }
    while (pos < text.size()) {
        // A lone CR ends a line as well as LF or CRLF does.
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;  // blank lines are not kept
        const size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos) {
            profile->sections.push_back(Section{Trim(line.substr(1, close - 1)), {}});
            continue;
        }
        // Comment lines are kept as entries too: nobody asks for a name starting with ';'.
        Entry entry;
        const size_t equals = line.find('=');
        entry.name = Trim(line.substr(0, equals));
        if (equals != std::string::npos) {
            entry.hasValue = true;
            entry.value = Trim(line.substr(equals + 1));
        }
        profile->sections.back().entries.push_back(entry);
    }
}

enum class Loaded { kYes, kMissing, kUnreadable };

Loaded Load(const std::string& path, Profile* profile) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return errno == ENOENT ? Loaded::kMissing : Loaded::kUnreadable;
    std::string text;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) text.append(chunk, got);
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) return Loaded::kUnreadable;
    Parse(text, profile);
    return Loaded::kYes;
}

bool Store(const std::string& path, const Profile& profile) {
    std::string text = profile.bom ? kBom : "";
    for (const Section& section : profile.sections) {
        if (!section.name.empty()) text += "[" + section.name + "]\r\n";
        for (const Entry& entry : section.entries) {
            text += entry.name;
            if (entry.hasValue) text += "=" + entry.value;
            text += "\r\n";
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    return !out.fail();
}

// Lookups ignore blanks around the name asked for; removals do not, as under Wine.
template <typename T>
T* FindNamed(std::vector<T>& items, const std::string& name, bool trimmed) {
    const std::string wanted = trimmed ? Trim(name) : name;
    for (T& item : items) {
        if (SameName(item.name, wanted)) return &item;
    }
    return nullptr;
}

// One pair of quotes around the text is dropped. When the copy reaches the closing quote's
// position it always loses its last character, so a quoted value that just fills the buffer comes
// back one shorter than the room.
std::string FitBuffer(const std::string& text, size_t bufferSize) {
    const size_t room = bufferSize - 1;
    const bool quoted = text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0];
    if (!quoted) return text.substr(0, std::min(room, text.size()));
    const size_t inner = text.size() - 2;
    size_t copied = std::min(room, inner + 1);
    if (copied >= inner && copied > 0) --copied;
    return text.substr(1, copied);
}

int ParseInt(const std::string& text) {
    size_t i = text.size() - TrimLeft(text).size();
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    // Overflow wraps around 32 bits rather than saturating; only a lowercase "0x" means hex.
    uint32_t number = 0;
    if (text.compare(i, 2, "0x") == 0) {
        for (i += 2; i < text.size(); ++i) {
            const char c = LowerAscii(text[i]);
            if (c >= '0' && c <= '9') number = number * 16 + uint32_t(c - '0');
            else if (c >= 'a' && c <= 'f') number = number * 16 + uint32_t(c - 'a' + 10);
            else break;
        }
    } else {
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            number = number * 10 + uint32_t(text[i] - '0');
        }
    }
    if (negative) number = 0u - number;
    return static_cast<int>(number);
}

// Numbers are read through a buffer this size, so only the first 29 characters count.
constexpr size_t kIntBufferSize = 30;

bool RemoveSection(const std::string& path, const std::string& section) {
    Profile profile;
    const Loaded loaded = Load(path, &profile);
    if (loaded != Loaded::kYes) return loaded == Loaded::kMissing;
    for (auto it = profile.sections.begin(); it != profile.sections.end(); ++it) {
        if (SameName(it->name, section)) {
            profile.sections.erase(it);
            return Store(path, profile);
        }
    }
    return true;
}

bool RemoveKey(const std::string& path, const std::string& section, const std::string& key) {
    Profile profile;
    const Loaded loaded = Load(path, &profile);
    if (loaded != Loaded::kYes) return loaded == Loaded::kMissing;
    Section* found = FindNamed(profile.sections, section, false);
    if (!found) return true;
    for (auto it = found->entries.begin(); it != found->entries.end(); ++it) {
        if (SameName(it->name, key)) {
            found->entries.erase(it);
            return Store(path, profile);
        }
    }
    return true;
}

}  // namespace

std::string ProfileGetString(const std::string& path, const char* section, const char* key, const char* def,
                             size_t bufferSize) {
    if (bufferSize == 0) return std::string();
    // The default loses trailing spaces (only spaces), but keeps leading ones.
    std::string fallback = def ? def : "";
    fallback = TrimRightAscii(fallback, " ");
    if (!section || !key) return FitBuffer(fallback, bufferSize);

    Profile profile;
    if (Load(LocalPath(path), &profile) != Loaded::kYes) return FitBuffer(fallback, bufferSize);
    Section* found = FindNamed(profile.sections, section, true);
    const Entry* entry = found ? FindNamed(found->entries, key, true) : nullptr;
    return FitBuffer(entry && entry->hasValue ? entry->value : fallback, bufferSize);
}

int ProfileGetInt(const std::string& path, const char* section, const char* key, int def) {
    const std::string text = ProfileGetString(path, section, key, "", kIntBufferSize);
    return text.empty() ? def : ParseInt(text);
}

bool ProfileWriteString(const std::string& path, const char* section, const char* key, const char* value) {
    if (!section) return false;
    const std::string file = LocalPath(path);
    if (!key) return RemoveSection(file, section);
    if (!value) return RemoveKey(file, section, key);

    // A file that is there but cannot be read is not overwritten with only the new key.
    Profile profile;
    if (Load(file, &profile) == Loaded::kUnreadable) return false;
    Section* found = FindNamed(profile.sections, section, true);
    if (!found) {
        profile.sections.push_back(Section{TrimLeft(section), {}});
        found = &profile.sections.back();
    }
    // New names and values drop leading blanks only; reading trims the rest.
    const std::string text = TrimLeft(value);
    Entry* entry = FindNamed(found->entries, key, true);
    if (!entry) {
        found->entries.push_back(Entry{TrimLeft(key), true, text});
    } else if (entry->hasValue && entry->value == text) {
        return true;  // unchanged: the file is not rewritten
    } else {
        entry->hasValue = true;
        entry->value = text;
    }
    return Store(file, profile);
}

}  // namespace sys
