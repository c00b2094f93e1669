#include "HeaderText.h"

#include <climits>
#include <vector>

#include "AsciiText.h"

namespace {

// The value after a key: up to the first terminator character or the end, trimmed.
std::string ValueFrom(const std::string& text, std::size_t start, const std::string& terminators) {
    std::size_t end = text.find_first_of(terminators, start);
    if (end == std::string::npos) end = text.size();
    return TrimAscii(text, start, end);
}

}  // namespace

std::string GetHeaderValue(const std::string& text, const std::string& key, int* pos,
                           const std::string& terminators) {
    int start = pos ? *pos : 0;
    if (start < 0 || static_cast<std::size_t>(start) > text.size()) return std::string();
    std::size_t found = text.find(key, static_cast<std::size_t>(start));
    if (found == std::string::npos) return std::string();
    std::size_t valueBegin = found + key.size();
    if (valueBegin > static_cast<std::size_t>(INT_MAX)) return std::string();
    if (pos) *pos = static_cast<int>(valueBegin);
    return ValueFrom(text, valueBegin, terminators);
}

std::string FindHeaderField(const std::string& text, const std::string& key, int* pos,
                            const std::string& terminators, const std::string& ignored) {
    int start = pos ? *pos : 0;
    auto noMatch = [pos]() {
        if (pos) *pos = -1;
        return std::string();
    };
    if (start < 0 || static_cast<std::size_t>(start) > text.size()) return noMatch();

    std::string reducedKey;
    for (char c : key) {
        if (ignored.find(c) == std::string::npos) reducedKey += LowerAscii(c);
    }
    std::string reducedText;
    std::vector<std::size_t> indexInText;
    for (std::size_t i = static_cast<std::size_t>(start); i < text.size(); ++i) {
        if (ignored.find(text[i]) != std::string::npos) continue;
        reducedText += LowerAscii(text[i]);
        indexInText.push_back(i);
    }

    if (reducedKey.size() >= reducedText.size() + 2) return std::string();
    if (reducedKey.empty() || reducedKey.size() > reducedText.size()) return noMatch();
    std::size_t offset = reducedText.find(reducedKey);
    if (offset == std::string::npos) return noMatch();

    std::size_t valueBegin = indexInText[offset + reducedKey.size() - 1] + 1;
    if (valueBegin > static_cast<std::size_t>(INT_MAX)) return noMatch();
    if (pos) *pos = static_cast<int>(valueBegin);
    return ValueFrom(text, valueBegin, terminators);
}
