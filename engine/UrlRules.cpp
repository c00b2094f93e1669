#include "UrlRules.h"

#include "AsciiText.h"
#include "ItemRules.h"
#include "UrlModel.h"

bool IsRunnableUrl(const std::string& url) {
    return HasRunScheme(url.c_str()) && GetUrlHost(url).find('.') != std::string::npos;
}

int RequestPort(const std::string& url, int defaultPort) {
    const int port = GetUrlPort(url);
    return port != 0 ? port : defaultPort;
}

std::string WithRedirectLogin(const std::string& from, const std::string& to, int defaultPort,
                              const std::string& user, const std::string& password) {
    const bool sameServer = EqualsNoCase(GetSchemeUpper(to), GetSchemeUpper(from)) &&
                            EqualsNoCase(GetUrlHost(to), GetUrlHost(from)) &&
                            RequestPort(to, defaultPort) == RequestPort(from, defaultPort);
    return sameServer ? InsertUrlLogin(to, user, password) : to;
}

std::string WithPlaylistLogin(const std::string& playlistUrl, const std::string& entry) {
    const std::string user = GetUrlUser(playlistUrl);
    if (user.empty() || !EqualsNoCase(GetUrlHost(entry), GetUrlHost(playlistUrl))) return entry;
    return InsertUrlLogin(entry, user, GetUrlPassword(playlistUrl));
}
