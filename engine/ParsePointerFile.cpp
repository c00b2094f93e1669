#include "ParsePointerFile.h"

#include <cstring>

#include "AsciiText.h"
#include "ByteBuffer.h"
#include "ContentKind.h"
#include "ItemRules.h"
#include "KeySearch.h"
#include "TextCopy.h"
#include "UrlModel.h"
#include "UrlRules.h"

namespace {

// A value runs to the end of its line or tag.
const char* const kValueEnd = "\r\n>";
// Nor can a SMIL tag's attributes hold a '<': ending there keeps every tag's text short.
const char* const kTagEnd = "\r\n><";


// The next line from pos, trimmed; pos moves past its CR LF, CR or LF. False at the end.
bool NextLine(const std::string& text, std::size_t& pos, std::string& line) {
    if (pos >= text.size()) return false;
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
        line = TrimAscii(text, pos, text.size());
        pos = text.size();
        return true;
    }
    line = TrimAscii(text, pos, end);
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    return true;
}

// A text saved by an editor may start with a byte-order mark; with the 0x00 bytes of UTF-16
// dropped it is two bytes, in UTF-8 three.
void DropByteOrderMark(std::string& text) {
    for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
        if (text.compare(0, std::strlen(mark), mark) == 0) {
            text.erase(0, std::strlen(mark));
            return;
        }
    }
}

int32_t KindFromText(const std::string& text, int32_t reported) {
    int32_t kind = reported;
    if (StartsWithNoCase(text, "<ASX")) kind = ContentAsf;
    if (StartsWithNoCase(text, "(smil") || StartsWithNoCase(text, "<smil")) kind = ContentSmil;
    if (StartsWithNoCase(text, "[Reference]")) kind = ContentWax;
    std::size_t first = 0;
    while (first < text.size() && IsAsciiBlank(text[first])) ++first;
    for (const char* scheme : {"rtsp://", "http://", "mms://"}) {
        if (StartsWithNoCase(text, scheme, first)) kind = ContentReal;
    }
    return kind;
}

}  // namespace

bool CParsePointerFile::ReturnTrue() { return true; }

void CParsePointerFile::Set(const char* localPath, const char* pointerUrl, int32_t kind) {
    localPath_ = localPath ? localPath : "";
    pointerUrl_ = pointerUrl ? pointerUrl : "";
    kind_ = kind;
}

void CParsePointerFile::Parse(IUrlSink* sink) {
    sink_ = sink;
    text_.clear();
    acceptedNames_.clear();

    CByteBuffer contents;  // every 0x00 byte dropped: UTF-16 with ASCII content reads as ASCII
    if (!contents.LoadFile(localPath_.c_str()) || contents.IsEmpty()) return;
    text_.assign(reinterpret_cast<const char*>(contents.GetData()),
                 static_cast<std::size_t>(contents.GetLength()));
    DropByteOrderMark(text_);

    kind_ = KindFromText(text_, kind_);
    switch (kind_) {
        case ContentHtml: ParseHtml(); break;
        case ContentAsf: ParseAsx(); break;
        case ContentSmil:
        case ContentOctet: ParseSmil(); break;
        case ContentReal: ParseLines(false); break;
        case ContentWax:
        case ContentWvx: ParseLines(true); break;
        default: break;
    }
    text_.clear();
}

std::string CParsePointerFile::StripQuotes(const std::string& value) {
    const std::size_t open = value.find_first_of("\"'");
    if (open == std::string::npos) return std::string();
    const std::size_t close = value.find_first_of("\"'", open + 1);
    if (close == std::string::npos) return std::string();
    std::string inner = value.substr(open + 1, close - open - 1);
    // \"url\" in script text: the backslash before the closing quote belongs to the escape.
    if (open > 0 && value[open - 1] == '\\' && !inner.empty()) inner.pop_back();
    return inner;
}

bool CParsePointerFile::CutBlock(std::string& text, const std::string& open,
                                 const std::string& close, std::string& block) {
    if (open.empty() || close.empty()) return false;
    const std::size_t start = text.find(open);
    if (start == std::string::npos) return false;
    int depth = 0;
    for (std::size_t i = start; i < text.size();) {
        if (StartsWithNoCase(text, open, i)) {
            ++depth;
            i += open.size();
        } else if (StartsWithNoCase(text, close, i)) {
            --depth;
            i += close.size();
            if (depth == 0) {
                block = text.substr(start, i - start);
                text.erase(start, i - start);
                return true;
            }
        } else {
            ++i;
        }
    }
    return false;
}

void CParsePointerFile::ParseHtml() {
    OfferValues(text_, "param name=\"SRC\" value=", kValueEnd, KindFromUrl);
    OfferValues(text_, "param name=\"FileName\" value=", kValueEnd, KindFromUrl);
}

void CParsePointerFile::ParseAsx() { OfferValues(text_, "<REF HREF =", kValueEnd, KindFromUrl); }

void CParsePointerFile::ParseSmil() {
    std::string rest = text_;
    std::string block;
    while (CutBlock(rest, "<switch>", "</switch>", block)) SwitchStep(block);
    MediaStep(rest);
}

// A switch holds alternatives: the first seq (or, without any, par) block that yields a stream
// is taken and the others are not.
void CParsePointerFile::SwitchStep(std::string block) {
    std::string alternative;
    bool any = false;
    while (CutBlock(block, "<seq>", "</seq>", alternative)) {
        any = true;
        if (MediaStep(alternative)) return;
    }
    if (any) return;
    while (CutBlock(block, "<par", "</par", alternative)) {
        any = true;
        if (MediaStep(alternative)) return;
    }
    if (any) return;
    MediaStep(block);
}

bool CParsePointerFile::MediaStep(const std::string& text) {
    bool accepted = false;
    KeySearch tags(text);
    for (const char* tag : {"<audio", "<video", "<ref"}) {
        tags.Rewind();
        while (tags.Next(tag)) {
            const std::string attributes = tags.Value(kTagEnd);
            KeySearch source(attributes);
            if (source.Next("src=") &&
                Accept(StripQuotes(source.Value(kValueEnd)), KindRtsp80, false)) {
                accepted = true;
            }
        }
    }
    return accepted;
}

bool CParsePointerFile::OfferValues(const std::string& text, const std::string& key,
                                    const std::string& valueEnd, int32_t kind) {
    bool accepted = false;
    KeySearch search(text);
    while (search.Next(key)) {
        // Accept refuses anything longer than an item's URL field.
        if (Accept(search.QuotedValue(valueEnd, kUrlTextMax), kind, false)) accepted = true;
    }
    return accepted;
}

void CParsePointerFile::ParseLines(bool reference) {
    std::size_t pos = 0;
    std::string line;
    while (NextLine(text_, pos, line)) {
        if (!reference) {
            Accept(line, KindRtsp80, true);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) Accept(line.substr(equals + 1), KindMms, true);
    }
}

bool CParsePointerFile::Accept(const std::string& value, int32_t kind, bool linesMode) {
    // An item's URL field holds kUrlTextMax characters; a longer URL cannot be queued, and a URL
    // the helpers had to cut would name another resource.
    if (value.empty() || value.size() > kUrlTextMax) return false;
    std::string url = value;
    if (GetSchemeUpper(url) == "PNM") url = ReplaceScheme(url, "rtsp");
    if (!linesMode && url.find("://") == std::string::npos) {
        url = ResolveRelativeUrl(pointerUrl_, url);
    }
    // The scheme rewrite and the resolver give nothing for a URL that does not fit.
    if (url.empty()) return false;
    if (!IsRunnableUrl(url)) return false;
    // A playlist that lists itself would only fetch itself again.
    if (EqualsNoCase(UrlWithoutLogin(url).c_str(), UrlWithoutLogin(pointerUrl_).c_str())) {
        return false;
    }
    const std::string name = GetUrlFileName(url);
    if (!IsUsableFileName(name) || acceptedNames_.count(name)) return false;

    // The playlist's login goes only to its own host (UrlRules.h).
    url = WithPlaylistLogin(pointerUrl_, url);
    if (url.empty()) return false;  // the login makes it too long for the item's field
    acceptedNames_.insert(name);
    if (sink_) sink_->AddUrl(url.c_str(), kind);
    return true;
}

FK_DEFINE_FACTORIES(PARSEPOINTERFILE, CParsePointerFile)
