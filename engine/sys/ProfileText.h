// A settings (INI) file held in memory: read once, changed by the same layout rules that the
// private-profile calls follow under Wine, and written once. The POSIX build's profile calls are
// made of it; the download list is saved through it on every build, so that a save of many items
// reads and writes the file once instead of once per key.
#pragma once
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace sys {

class ProfileText {
public:
    ProfileText();

    enum class Loaded { kYes, kMissing, kUnreadable };

    // Replaces what is held with the file's text; a file that is missing or cannot be read leaves
    // nothing held.
    Loaded Load(const std::string& path);
    // The whole text written to path (created or replaced).
    bool Store(const std::string& path) const;

    // A text in UTF-16 (as a Windows editor may save it): the profile calls read it as such, this
    // class does not, so it must not be rewritten through it.
    bool Utf16() const { return utf16_; }

    // As ProfileGetString and ProfileGetInt (Profile.h), on the text held.
    std::string GetString(const char* section, const char* key, const char* def, size_t bufferSize) const;
    int GetInt(const char* section, const char* key, int def) const;
    // As ProfileWriteString: a null key removes the section, a null value the key. Answers whether
    // the text held changed (false for a null section).
    bool Write(const char* section, const char* key, const char* value);

private:
    struct Entry {
        std::string name;
        bool hasValue = false;  // a line without '=' is kept, but reads as missing
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        bool removed = false;  // left in place, so that removing one costs no shift of the rest
    };

    void Parse(const std::string& text);
    Section& AddSection(std::string name);
    // The first section held under that name (letters compared without case), or null.
    Section* FindSection(const std::string& name, bool trimmed);
    const Section* FindSection(const std::string& name, bool trimmed) const;

    bool bom_ = false;
    bool utf16_ = false;
    // The first section is always the nameless one holding the lines above the first header.
    std::vector<Section> sections_;
    // Where the sections still held lie, by their lower-case name, in file order: a list of many
    // items is thousands of sections, and each lookup must not walk them all.
    std::unordered_map<std::string, std::vector<size_t>> byName_;
};

}  // namespace sys
