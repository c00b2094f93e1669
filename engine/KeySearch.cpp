#include "KeySearch.h"

#include "AsciiText.h"

std::string ValueAt(const std::string& text, std::size_t start, const std::string& terminators) {
    std::size_t end = text.find_first_of(terminators, start);
    if (end == std::string::npos) end = text.size();
    return TrimAscii(text, start, end);
}

KeySearch::KeySearch(const std::string& text, const std::string& ignored, std::size_t from)
    : text_(text), ignored_(ignored) {
    const std::size_t size = from < text.size() ? text.size() - from : 0;
    reduced_.reserve(size);
    index_.reserve(size);
    for (std::size_t i = from; i < text.size(); ++i) {
        if (ignored_.find(text[i]) != std::string::npos) continue;
        reduced_ += LowerAscii(text[i]);
        index_.push_back(i);
    }
}

std::string KeySearch::Reduce(const std::string& key) const {
    std::string reduced;
    for (char c : key) {
        if (ignored_.find(c) == std::string::npos) reduced += LowerAscii(c);
    }
    return reduced;
}

bool KeySearch::Next(const std::string& key) {
    const std::string reducedKey = Reduce(key);
    if (reducedKey.empty() || from_ > reduced_.size()) return false;
    const std::size_t at = reduced_.find(reducedKey, from_);
    if (at == std::string::npos) {
        from_ = reduced_.size() + 1;
        return false;
    }
    from_ = at + reducedKey.size();
    valueStart_ = index_[from_ - 1] + 1;
    return true;
}

std::string KeySearch::Value(const std::string& terminators) const {
    return ValueAt(text_, valueStart_, terminators);
}

std::size_t KeySearch::FindFirstOf(const std::string& set, std::size_t from, Cached& cache) const {
    if (!cache.known || from < cache.from || (cache.at != std::string::npos && from > cache.at)) {
        cache.from = from;
        cache.at = text_.find_first_of(set, from);
        cache.known = true;
    }
    return cache.at;
}

std::string KeySearch::QuotedValue(const std::string& terminators, std::size_t maxInner) {
    static const std::string quotes = "\"'";
    std::size_t end = FindFirstOf(terminators, valueStart_, ends_);
    if (end == std::string::npos) end = text_.size();
    const std::size_t open = FindFirstOf(quotes, valueStart_, opens_);
    if (open == std::string::npos || open >= end) return std::string();
    const std::size_t close = FindFirstOf(quotes, open + 1, closes_);
    if (close == std::string::npos || close >= end) return std::string();
    std::size_t length = close - open - 1;
    // The same escape rule as StripQuotes; the backslash belongs to the value when it stands
    // after its start (blanks are trimmed, a backslash is not).
    if (open > valueStart_ && text_[open - 1] == '\\' && length > 0) --length;
    if (length > maxInner) return std::string();
    return text_.substr(open + 1, length);
}
