// The key search of heads, descriptions and playlists: a key is found with letters compared without
// case and the ignored characters (blanks, as a rule) left out of key and text alike; its value is
// the text after it up to a terminator, trimmed. FindHeaderField is one search; a walk over every
// match of a key reduces the text only once, so a hostile file full of matches costs one pass, not
// one pass per match.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The text from start up to the first terminator character or the end, trimmed.
std::string ValueAt(const std::string& text, std::size_t start, const std::string& terminators);

class KeySearch {
public:
    // Searches text (which must outlive the search) from the index from on.
    explicit KeySearch(const std::string& text, const std::string& ignored = " ", std::size_t from = 0);

    // Moves to the next match of key; false when there is none (an empty key matches nothing).
    // Then ValueStart is the index in the text just after the match's last character.
    bool Next(const std::string& key);
    std::size_t ValueStart() const { return valueStart_; }
    // ValueAt the value's start.
    std::string Value(const std::string& terminators) const;
    // The value's text between its first quote (double or single) and the next one, as
    // CParsePointerFile::StripQuotes gives it, for a walk that keeps one set of terminators, and
    // without copying the value: matches that share one long value (a file of keys and no line
    // end) cost one pass together, not one pass each. Inner texts longer than maxInner give empty.
    std::string QuotedValue(const std::string& terminators, std::size_t maxInner);
    // Starts the walk again where the search began.
    void Rewind() {
        from_ = 0;
        ends_ = opens_ = closes_ = Cached();
    }

    // The searched text's length once reduced, and key's.
    std::size_t ReducedLength() const { return reduced_.size(); }
    std::size_t ReducedLength(const std::string& key) const { return Reduce(key).size(); }

private:
    std::string Reduce(const std::string& key) const;
    // The first index at or after from of a character in set, remembered: valid for any later
    // from up to the index found.
    struct Cached {
        std::size_t from = 0;
        std::size_t at = 0;
        bool known = false;
    };
    std::size_t FindFirstOf(const std::string& set, std::size_t from, Cached& cache) const;

    const std::string& text_;
    const std::string ignored_;
    std::string reduced_;             // the text without the ignored characters, in lower case
    std::vector<std::size_t> index_;  // each reduced character's index in the text
    std::size_t from_ = 0;            // where the next search starts in the reduced text
    std::size_t valueStart_ = 0;
    Cached ends_, opens_, closes_;
};
