#include "ProfileText.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>

#include "../AsciiText.h"
#include "FileSystem.h"

namespace sys {
namespace {

// Ctrl-Z counts as a blank too, as in old DOS text files.
constexpr char kBlanks[] = " \t\n\v\f\r\x1a";

std::string TrimLeft(const std::string& text) { return TrimLeftAscii(text, kBlanks); }

std::string Trim(const std::string& text) { return TrimAscii(text, kBlanks); }

const char kBom[] = "\xEF\xBB\xBF";

// Lookups ignore blanks around the name asked for; removals do not, as under Wine.
template <typename T>
auto FindNamed(T& items, const std::string& name, bool trimmed) -> decltype(&items[0]) {
    const std::string wanted = trimmed ? Trim(name) : name;
    for (auto& item : items) {
        if (EqualsNoCase(item.name, wanted)) return &item;
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

}  // namespace

ProfileText::ProfileText() { AddSection(std::string()); }

ProfileText::Section& ProfileText::AddSection(std::string name) {
    byName_[LowerAscii(name)].push_back(sections_.size());
    sections_.push_back(Section{std::move(name), {}});
    return sections_.back();
}

ProfileText::Section* ProfileText::FindSection(const std::string& name, bool trimmed) {
    const auto found = byName_.find(LowerAscii(trimmed ? Trim(name) : name));
    return found == byName_.end() ? nullptr : &sections_[found->second.front()];
}

const ProfileText::Section* ProfileText::FindSection(const std::string& name, bool trimmed) const {
    return const_cast<ProfileText*>(this)->FindSection(name, trimmed);
}

void ProfileText::Parse(const std::string& text) {
    size_t pos = 0;
    if (text.compare(0, 3, kBom) == 0) {
        bom_ = true;
        pos = 3;
    }
    utf16_ = text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0;
    while (pos < text.size()) {
        // A lone CR ends a line as well as LF or CRLF does.
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;  // blank lines are not kept
        const size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos) {
            AddSection(Trim(line.substr(1, close - 1)));
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
        sections_.back().entries.push_back(entry);
    }
}

ProfileText::Loaded ProfileText::Load(const std::string& path) {
    *this = ProfileText();
    std::FILE* in = std::fopen(NativePath(path).c_str(), "rb");
    if (!in) return errno == ENOENT ? Loaded::kMissing : Loaded::kUnreadable;
    std::string text;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) text.append(chunk, got);
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) return Loaded::kUnreadable;
    Parse(text);
    return Loaded::kYes;
}

bool ProfileText::Store(const std::string& path) const {
    std::string text = bom_ ? kBom : "";
    for (const Section& section : sections_) {
        if (section.removed) continue;
        if (!section.name.empty()) text += "[" + section.name + "]\r\n";
        for (const Entry& entry : section.entries) {
            text += entry.name;
            if (entry.hasValue) text += "=" + entry.value;
            text += "\r\n";
        }
    }
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    return !out.fail();
}

std::string ProfileText::GetString(const char* section, const char* key, const char* def, size_t bufferSize) const {
    if (bufferSize == 0) return std::string();
    // The default loses trailing spaces (only spaces), but keeps leading ones.
    std::string fallback = def ? def : "";
    fallback = TrimRightAscii(fallback, " ");
    if (!section || !key) return FitBuffer(fallback, bufferSize);
    const Section* found = FindSection(section, true);
    const Entry* entry = found ? FindNamed(found->entries, key, true) : nullptr;
    return FitBuffer(entry && entry->hasValue ? entry->value : fallback, bufferSize);
}

int ProfileText::GetInt(const char* section, const char* key, int def) const {
    const std::string text = GetString(section, key, "", kIntBufferSize);
    return text.empty() ? def : ParseInt(text);
}

bool ProfileText::Write(const char* section, const char* key, const char* value) {
    if (!section) return false;
    if (!key) {
        const auto found = byName_.find(LowerAscii(section));
        if (found == byName_.end()) return false;
        std::vector<size_t>& places = found->second;
        // Its text goes; its place stays, so that the places indexed after it stay true.
        sections_[places.front()] = Section{std::string(), {}, true};
        places.erase(places.begin());
        if (places.empty()) byName_.erase(found);
        return true;
    }
    if (!value) {
        Section* found = FindSection(section, false);
        if (!found) return false;
        for (auto it = found->entries.begin(); it != found->entries.end(); ++it) {
            if (EqualsNoCase(it->name, key)) {
                found->entries.erase(it);
                return true;
            }
        }
        return false;
    }
    Section* found = FindSection(section, true);
    if (!found) found = &AddSection(TrimLeft(section));
    // New names and values drop leading blanks only; reading trims the rest.
    const std::string text = TrimLeft(value);
    Entry* entry = FindNamed(found->entries, key, true);
    if (!entry) {
        found->entries.push_back(Entry{TrimLeft(key), true, text});
    } else if (entry->hasValue && entry->value == text) {
        return false;
    } else {
        entry->hasValue = true;
        entry->value = text;
    }
    return true;
}

}  // namespace sys
