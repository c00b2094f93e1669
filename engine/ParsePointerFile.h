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
