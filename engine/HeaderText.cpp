#include "HeaderText.h"

#include <climits>

#include "KeySearch.h"

std::string GetHeaderValue(const std::string& text, const std::string& key, int* pos,
                           const std::string& terminators) {
    int start = pos ? *pos : 0;
    if (start < 0 || static_cast<std::size_t>(start) > text.size()) return std::string();
    std::size_t found = text.find(key, static_cast<std::size_t>(start));
    if (found == std::string::npos) return std::string();
    std::size_t valueBegin = found + key.size();
    if (valueBegin > static_cast<std::size_t>(INT_MAX)) return std::string();
    if (pos) *pos = static_cast<int>(valueBegin);
    return ValueAt(text, valueBegin, terminators);
}

std::string FindHeaderField(const std::string& text, const std::string& key, int* pos,
                            const std::string& terminators, const std::string& ignored) {
    int start = pos ? *pos : 0;
    auto noMatch = [pos]() {
        if (pos) *pos = -1;
        return std::string();
    };
    if (start < 0 || static_cast<std::size_t>(start) > text.size()) return noMatch();
    KeySearch search(text, ignored, static_cast<std::size_t>(start));
    if (search.ReducedLength(key) >= search.ReducedLength() + 2) return std::string();
    if (!search.Next(key)) return noMatch();
    const std::size_t valueBegin = search.ValueStart();
    if (valueBegin > static_cast<std::size_t>(INT_MAX)) return noMatch();
    if (pos) *pos = static_cast<int>(valueBegin);
    return search.Value(terminators);
}
