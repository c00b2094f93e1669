#include "UrlModel.h"

#include <climits>
#include <cstring>

#include "AsciiText.h"
#include "HeaderText.h"
#include "TextNumbers.h"

namespace {

std::string Bounded(std::string text) {
    if (text.size() > kUrlTextMax) text.resize(kUrlTextMax);
    return text;
}

// What the URL builders return: the URL, or the empty text when it does not fit.
std::string Fitting(std::string url) { return url.size() > kUrlTextMax ? std::string() : url; }

// An escape's digit: lower-case letters form no escape, so a text that merely looks encoded
// stays as it is.
int EscapeDigit(char c) { return c >= 'a' && c <= 'f' ? -1 : HexDigitValue(c); }

// The file name plus its extension, when there is one.
std::string FilePart(const UrlParts& parts) {
    return parts.ext.empty() ? parts.name : parts.name + "." + parts.ext;
}

// scheme "://" host [":" port when not 0]: where a request goes, without the login.
std::string Origin(const std::string& scheme, const UrlParts& parts) {
    std::string origin = scheme + "://" + parts.host;
    if (parts.port != 0) origin += ":" + std::to_string(parts.port);
    return origin;
}

std::string PathAndQuery(const UrlParts& parts) {
    std::string text = parts.dir + FilePart(parts);
    if (!parts.query.empty()) text += "?" + parts.query;
    return text;
}

}  // namespace

void SplitUserPassword(const std::string& userInfo, std::string& user, std::string& password) {
    std::size_t colon = userInfo.find(':');
    if (colon == std::string::npos) {
        user = Bounded(userInfo);
        password.clear();
    } else {
        user = Bounded(userInfo.substr(0, colon));
        password = Bounded(userInfo.substr(colon + 1));
    }
}

void SplitHostPort(const std::string& hostPort, std::string& host, int& port) {
    std::size_t colon = hostPort.find(':');
    port = 0;
    if (colon == std::string::npos) {
        host = Bounded(hostPort);
        return;
    }
    host = Bounded(hostPort.substr(0, colon));
    // Saturates rather than overflowing on absurdly long digit runs.
    std::size_t digits = colon + 1;
    port = int(ReadDigits(hostPort, digits, INT_MAX));
}

void SplitUrlPath(const std::string& path, std::string& dir, std::string& name, std::string& ext,
                  std::string& query) {
    std::string rest = path;
    query.clear();
    std::size_t mark = rest.find('?');
    if (mark != std::string::npos) {
        query = Bounded(rest.substr(mark + 1));
        rest.resize(mark);
    }
    std::size_t slash = rest.rfind('/');
    std::string file;
    if (slash == std::string::npos) {
        dir = "/";
        file = rest;
    } else {
        dir = Bounded(rest.substr(0, slash + 1));
        file = rest.substr(slash + 1);
    }
    std::size_t dot = file.rfind('.');
    if (dot == std::string::npos) {
        name = Bounded(file);
        ext.clear();
    } else {
        name = Bounded(file.substr(0, dot));
        ext = Bounded(file.substr(dot + 1));
    }
}

UrlParts SplitUrl(const std::string& url) {
    UrlParts parts;
    std::size_t sep = url.find("://");
    if (sep == std::string::npos) return parts;
    parts.scheme = Bounded(url.substr(0, sep));

    std::size_t authBegin = sep + 3;
    std::size_t pathBegin = url.find('/', authBegin);
    if (pathBegin == std::string::npos) pathBegin = url.size();
    std::string authority = url.substr(authBegin, pathBegin - authBegin);

    // The last '@' ends the user information, which may itself hold '@'.
    std::size_t at = authority.rfind('@');
    if (at == std::string::npos) {
        SplitHostPort(authority, parts.host, parts.port);
    } else {
        SplitUserPassword(authority.substr(0, at), parts.user, parts.password);
        SplitHostPort(authority.substr(at + 1), parts.host, parts.port);
    }
    SplitUrlPath(url.substr(pathBegin), parts.dir, parts.name, parts.ext, parts.query);
    return parts;
}

std::string GetSchemeUpper(const std::string& url) { return UpperAscii(SplitUrl(url).scheme); }

std::string GetUrlHost(const std::string& url) { return SplitUrl(url).host; }

std::string GetUrlUser(const std::string& url) { return SplitUrl(url).user; }

std::string GetUrlPassword(const std::string& url) { return SplitUrl(url).password; }

int GetUrlPort(const std::string& url) { return SplitUrl(url).port; }

std::string GetUrlPath(const std::string& url) {
    return Bounded(PathAndQuery(SplitUrl(url)).substr(1));
}

std::string GetUrlExtensionUpper(const std::string& url) { return UpperAscii(SplitUrl(url).ext); }

std::string GetUrlFileName(const std::string& url) {
    UrlParts parts = SplitUrl(url);
    if (parts.name.empty()) return std::string();
    static const std::string kNotInFileNames = "\\/:*?<>|\"";
    std::string result;
    for (char c : FilePart(parts)) {
        if (result.size() == kUrlFileNameMax) break;
        if (kNotInFileNames.find(c) == std::string::npos) result += c;
    }
    return result;
}

std::string UrlWithoutLogin(const std::string& url) {
    UrlParts parts = SplitUrl(url);
    // A part cut by SplitUrl is kUrlTextMax long, so the rebuilt URL never fits and is refused.
    return Fitting(Origin(parts.scheme, parts) + PathAndQuery(parts));
}

std::string ReplaceScheme(const std::string& url, const std::string& scheme) {
    std::size_t sep = url.find("://");
    if (sep == std::string::npos) return std::string();
    return Fitting(scheme + url.substr(sep));
}

std::string InsertUrlLogin(const std::string& url, const std::string& user,
                           const std::string& password) {
    std::size_t slashes = url.find("//");
    if (user.empty() || slashes == std::string::npos || !GetUrlUser(url).empty()) {
        return Fitting(url);
    }
    std::string login = user;
    if (!password.empty()) login += ":" + password;
    login += "@";
    return Fitting(url.substr(0, slashes + 2) + login + url.substr(slashes + 2));
}

std::string ResolveRelativeUrl(const std::string& base, const std::string& location) {
    if (!location.empty() && location[0] == '/') {
        // The playlist's port too: without it the entry would name the host's other server.
        const UrlParts parts = SplitUrl(base);
        return Fitting(Origin(UpperAscii(parts.scheme), parts) + location);
    }
    // Playlists on local paths use '\'.
    std::size_t last = base.find_last_of("/\\");
    std::string prefix = last == std::string::npos ? std::string() : base.substr(0, last + 1);
    return Fitting(prefix + location);
}

std::string ResolveRedirectLocation(const std::string& base, const std::string& location) {
    // Absolute only when "://" ends a scheme; a relative location may name a URL in its query.
    const std::size_t sep = location.find("://");
    bool absolute = sep != std::string::npos && sep > 0;
    for (std::size_t i = 0; absolute && i < sep; ++i) {
        const char c = location[i];
        absolute = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                   (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
    }
    if (absolute) return Fitting(location);
    const UrlParts parts = SplitUrl(base);
    if (location.compare(0, 2, "//") == 0) return Fitting(parts.scheme + ":" + location);
    const std::string origin = Origin(parts.scheme, parts);
    if (!location.empty() && location[0] == '/') return Fitting(origin + location);
    // A query alone replaces only the base's query.
    if (!location.empty() && location[0] == '?') return Fitting(origin + parts.dir + FilePart(parts) + location);
    return Fitting(origin + parts.dir + location);
}

std::string UrlDecode(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Both digits must lie inside the text; anything else keeps the '%' as it is.
        int high = -1;
        int low = -1;
        if (text[i] == '%' && i + 2 < text.size()) {
            high = EscapeDigit(text[i + 1]);
            low = EscapeDigit(text[i + 2]);
        }
        if (high >= 0 && low >= 0) {
            result += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            result += text[i];
        }
    }
    return result;
}

bool GetControlUrls(const std::string& sdp, std::vector<std::string>& out,
                    const std::string& base) {
    out.clear();
    int pos = 0;
    for (;;) {
        int before = pos;
        std::string value = FindHeaderField(sdp, "a=control:", &pos, "\r\n", " ");
        // A match always moves the position forward; anything else ends the list.
        if (pos <= before) break;
        std::string url = Fitting(value.find("://") != std::string::npos ? value : base + value);
        if (url.empty()) {
            out.clear();
            return false;
        }
        out.push_back(std::move(url));
    }
    return true;
}

std::string UrlEncode(const std::string& url) {
    static const char kKept[] = "-_.!~*'()%;/?:@&=+$,";
    static const char kHex[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(url.size());
    for (unsigned char c : url) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           (c != 0 && std::strchr(kKept, c) != nullptr);
        if (plain) {
            result += static_cast<char>(c);
        } else {
            result += '%';
            result += kHex[c >> 4];
            result += kHex[c & 15];
        }
    }
    return result;
}
