// The engine's one URL model: taking URLs apart, building them, resolving, percent-coding.
// Stateless; safe to call from any thread.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "EngineTypes.h"

// URLs and their parts are bounded like the item's URL field (kUrlTextMax): parts read from a URL
// are cut, the URLs built from them are refused (see below). File names taken from a URL keep at
// most kUrlFileNameMax characters.

// scheme "://" [user [":" password] "@"] host [":" port] [dir name ["." ext] ["?" query]]
struct UrlParts {
    std::string scheme;
    std::string user;
    std::string password;
    std::string host;
    int port = 0;           // leading decimal digits after the host's ':', 0 when none
    std::string dir = "/";  // up to and including the last '/'; "/" when there is no path
    std::string name;
    std::string ext;        // after the file part's last '.', without the dot
    std::string query;      // after the first '?', without the '?'
};

// Without "://" every part is empty and dir is "/".
UrlParts SplitUrl(const std::string& url);

// Splits at the first ':'; without one it is all user.
void SplitUserPassword(const std::string& userInfo, std::string& user, std::string& password);
// Splits at the first ':'; port 0 when there is no ':' or no leading digit after it.
void SplitHostPort(const std::string& hostPort, std::string& host, int& port);
// path starts at the first '/' after the authority (may be empty).
void SplitUrlPath(const std::string& path, std::string& dir, std::string& name, std::string& ext,
                  std::string& query);

std::string GetSchemeUpper(const std::string& url);
std::string GetUrlHost(const std::string& url);
std::string GetUrlUser(const std::string& url);
std::string GetUrlPassword(const std::string& url);
int GetUrlPort(const std::string& url);
// dir without its first '/', name, ["." ext], ["?" query]
std::string GetUrlPath(const std::string& url);
std::string GetUrlExtensionUpper(const std::string& url);
// name ["." ext] without \ / : * ? < > | and '"', at most kUrlFileNameMax characters; empty when
// the name is empty.
std::string GetUrlFileName(const std::string& url);

// The builders of URLs that are sent or queued refuse rather than cut: a result longer than
// kUrlTextMax is the empty text, since a cut URL names a resource nobody asked for.
//
// scheme "://" host [":" port when not 0] dir name ["." ext] ["?" query]
std::string UrlWithoutLogin(const std::string& url);
// scheme followed by the URL from its "://" on; empty when the URL has no "://".
std::string ReplaceScheme(const std::string& url, const std::string& scheme);
// Puts user[:password]@ after the first "//" when user is not empty and the URL has no user;
// otherwise the URL as it is.
std::string InsertUrlLogin(const std::string& url, const std::string& user,
                           const std::string& password);
// A playlist's entry against the playlist's URL: "/x" gives base's scheme in upper case "://"
// base's host [":" port] "/x"; anything else gives base through its last '/' or '\' followed by
// location.
std::string ResolveRelativeUrl(const std::string& base, const std::string& location);
// A redirect's location against the URL it answers: absolute when a scheme and "://" begin it;
// "//host/x" takes base's scheme; "/x" base's scheme, host and port; "?q" base's path; anything
// else base's folder. base's login is never carried over.
std::string ResolveRedirectLocation(const std::string& base, const std::string& location);

// Decodes "%XY" with X and Y in 0-9 or A-F; any other '%' is kept as it is. The whole text is
// decoded (the result is never longer): whoever stores it judges whether it fits.
std::string UrlDecode(const std::string& text);

// out := every "a=control:" value of the SDP in order; values without "://" get base in front.
// False, and out empty, when one of them would be longer than kUrlTextMax: a stream set up at a
// cut URL is not the one the description names.
[[nodiscard]] bool GetControlUrls(const std::string& sdp, std::vector<std::string>& out,
                                  const std::string& base);

// Percent-encodes every byte but letters, digits and - _ . ! ~ * ' ( ) % ; / ? : @ & = + $ , as
// "%XY" (upper-case hexadecimal). '%' passes unchanged, so an encoded URL stays as it is.
std::string UrlEncode(const std::string& url);
