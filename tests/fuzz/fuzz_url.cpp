// Feeds arbitrary bytes to the URL model, the decoder and the header-text searches, and checks
// the bounds every caller relies on.
#include "HeaderText.h"
#include "UrlModel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckUrlText(const std::string& text) { Check(text.size() <= kUrlTextMax); }

// A found position lies inside the text; otherwise it is -1 or where the search started.
void CheckPosition(int after, int before, std::size_t textSize, bool mayBeMinusOne) {
    bool inside = after >= 0 && static_cast<std::size_t>(after) <= textSize;
    Check(inside || after == before || (mayBeMinusOne && after == -1));
}

void FuzzUrl(const std::string& url, const std::string& other, const std::string& third) {
    UrlParts p = SplitUrl(url);
    for (const std::string* part : {&p.scheme, &p.user, &p.password, &p.host, &p.dir, &p.name,
                                    &p.ext, &p.query}) {
        CheckUrlText(*part);
    }
    Check(p.port >= 0);
    Check(!p.dir.empty() && p.dir[0] == '/');

    CheckUrlText(GetSchemeUpper(url));
    CheckUrlText(GetUrlHost(url));
    CheckUrlText(GetUrlUser(url));
    CheckUrlText(GetUrlPassword(url));
    Check(GetUrlPort(url) == p.port);
    CheckUrlText(GetUrlPath(url));
    CheckUrlText(GetUrlExtensionUpper(url));
    std::string fileName = GetUrlFileName(url);
    Check(fileName.size() <= kUrlFileNameMax);
    Check(fileName.find_first_of("\\/:*?<>|\"") == std::string::npos);
    CheckUrlText(UrlWithoutLogin(url));
    CheckUrlText(ReplaceScheme(url, other));
    CheckUrlText(InsertUrlLogin(url, other, third));
    CheckUrlText(ResolveRelativeUrl(url, other));
    CheckUrlText(ResolveRelativeUrl(other, url));

    std::string user;
    std::string password;
    SplitUserPassword(url, user, password);
    CheckUrlText(user);
    CheckUrlText(password);
    std::string host;
    int port = -1;
    SplitHostPort(url, host, port);
    CheckUrlText(host);
    Check(port >= 0);
    std::string dir, name, ext, query;
    SplitUrlPath(url, dir, name, ext, query);
    for (const std::string* part : {&dir, &name, &ext, &query}) CheckUrlText(*part);

    // The decoder takes the whole text, however long: each caller that stores the result judges
    // whether it fits (the redirect step refuses a location that does not).
    Check(UrlDecode(url).size() <= url.size());
}

void FuzzSearches(const std::string& text, int carried) {
    struct Search {
        const char* key;
        const char* terminators;
        const char* ignored;
    };
    static const Search kSearches[] = {
        {"Session:", ";\r\n", " "}, {"Content-Length:", "\r\n", " "}, {"a=control:", "\r\n", " "},
        {"m=", "\r\n", " "},        {"href=", "\r\n>", " "},          {"%", "", ""},
        {"", "\r\n", ""},           {"   ", "\r\n", " "},             {"ab", "", "ab"},
    };
    for (const Search& s : kSearches) {
        FindHeaderField(text, s.key, nullptr, s.terminators, s.ignored);
        GetHeaderValue(text, s.key, nullptr, s.terminators);

        for (int start : {0, carried, -1, static_cast<int>(text.size()),
                          static_cast<int>(text.size()) + 1}) {
            int pos = start;
            FindHeaderField(text, s.key, &pos, s.terminators, s.ignored);
            CheckPosition(pos, start, text.size(), true);
            pos = start;
            GetHeaderValue(text, s.key, &pos, s.terminators);
            CheckPosition(pos, start, text.size(), false);
        }

        // Walking every match must end: each match moves the position forward.
        int pos = 0;
        for (std::size_t steps = 0; steps <= text.size(); ++steps) {
            int before = pos;
            FindHeaderField(text, s.key, &pos, s.terminators, s.ignored);
            if (pos == -1 || pos == before) break;
            Check(pos > before);
        }
    }

    std::vector<std::string> urls = {"stale"};
    const bool fits = GetControlUrls(text, urls, "rtsp://h/x/");
    Check(fits || urls.empty());
    for (const std::string& url : urls) CheckUrlText(url);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);

    // The first two line breaks split off the second and third arguments.
    std::size_t first = input.find('\n');
    std::string url = input.substr(0, first);
    std::string other;
    std::string third;
    if (first != std::string::npos) {
        std::size_t second = input.find('\n', first + 1);
        other = input.substr(first + 1, second == std::string::npos ? std::string::npos
                                                                      : second - first - 1);
        if (second != std::string::npos) third = input.substr(second + 1);
    }
    FuzzUrl(input, other, third);
    FuzzUrl(url, other, third);

    int carried = size >= 2 ? static_cast<int>(data[0]) * 256 + data[1] - 16 : 0;
    FuzzSearches(input, carried);
    return 0;
}
