// Reads a small downloaded file as a playlist or pointer file (ASX, SMIL, RealMedia pointer,
// Windows Media reference file, HTML page embedding a player) and hands every stream URL it
// accepts to an IUrlSink.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "EngineObject.h"
#include "IUrlSink.h"

class CParsePointerFile final : public EngineObject<CParsePointerFile> {
public:
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue();
    // kind is the content kind the downloader reported; the file's own text may override it.
    virtual void FK_STDCALL Set(const char* localPath, const char* pointerUrl, int32_t kind);
    virtual void FK_STDCALL Parse(IUrlSink* sink);

    // Finds every match of a key in a text, in order, as FindHeaderField does when its position is
    // carried from one call to the next (case and blanks ignored), but reduces the text only once:
    // a hostile file full of matches costs one pass, not one pass per match.
    class KeySearch {
    public:
        explicit KeySearch(const std::string& text);
        // Moves to the next match of key; false when there is none. Then ValueStart is the index
        // in the text just after the match's last character.
        bool Next(const std::string& key);
        std::size_t ValueStart() const { return valueStart_; }
        // The text from ValueStart up to the first terminator character, trimmed.
        std::string Value(const std::string& terminators) const;
        // StripQuotes(Value(terminators)) for a walk that keeps one set of terminators, without
        // copying the value: matches that share one long value (a file of keys and no line end)
        // cost one pass together, not one pass each. Inner texts longer than maxInner give empty.
        std::string QuotedValue(const std::string& terminators, std::size_t maxInner);
        // Starts the walk again from the beginning of the text.
        void Rewind() {
            from_ = 0;
            ends_ = opens_ = closes_ = Cached();
        }

    private:
        // The first index at or after from of a character in set, remembered: valid for any
        // later from up to the index found.
        struct Cached {
            std::size_t from = 0;
            std::size_t at = 0;
            bool known = false;
        };
        std::size_t FindFirstOf(const std::string& set, std::size_t from, Cached& cache) const;

        const std::string& text_;
        std::string reduced_;             // the text without blanks, in lower case
        std::vector<std::size_t> index_;  // each reduced character's index in the text
        std::size_t from_ = 0;            // where the next search starts in the reduced text
        std::size_t valueStart_ = 0;
        Cached ends_, opens_, closes_;
    };

    // The text between the first quote (double or single) of value and the next one; empty when
    // either is missing. After a backslash-escaped opening quote the closing escape is dropped too.
    static std::string StripQuotes(const std::string& value);
    // Cuts the first block from open (exact case) to the close that balances it (nesting counted
    // without regard to case) out of text into block. False, with text untouched, when there is
    // no such block.
    static bool CutBlock(std::string& text, const std::string& open, const std::string& close,
                         std::string& block);

private:
    void ParseHtml();
    void ParseAsx();
    void ParseSmil();
    void ParseLines(bool reference);
    void SwitchStep(std::string block);
    bool MediaStep(const std::string& text);
    // Offers every quoted value after key in text; true when one was accepted.
    bool OfferValues(const std::string& text, const std::string& key, const std::string& valueEnd,
                     int32_t kind);
    bool Accept(const std::string& value, int32_t kind, bool linesMode);

    std::string pointerUrl_;
    std::string localPath_;
    int32_t kind_ = 0;
    IUrlSink* sink_ = nullptr;
    std::string text_;
    std::set<std::string> acceptedNames_;
};
