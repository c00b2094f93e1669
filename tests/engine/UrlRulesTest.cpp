#include "UrlRules.h"

#include <gtest/gtest.h>

#include <string>

#include "ItemRules.h"

namespace {

TEST(UrlRules, ARunTakesItsSchemesOnADottedHost) {
    struct Case {
        const char* url;
        bool runnable;
    } cases[] = {
        {"http://a.b/x", true},      {"HTTP://A.B/x", true},     {"ftp://a.b/x", true},
        {"mms://a.b/x", true},       {"MmsT://a.b/x", true},     {"mmsu://a.b/x", true},
        {"rtsp://a.b/x", true},      {"http://machine/x", false}, {"gopher://a.b/x", false},
        {"pnm://a.b/x", false},      {"mmsx://a.b/x", false},    {"mm://a.b/x", false},
        {"http:/a.b/x", false},      {"a.b/x", false},           {"", false},
        {"http://u:p@machine.local:81/x", true},
        {"http://machine/a.b", false},  // a '.' in the path is no dotted host
    };
    for (const auto& c : cases) EXPECT_EQ(IsRunnableUrl(c.url), c.runnable) << c.url;
}

TEST(UrlRules, EachSchemeAsksForItsDownloader) {
    struct Case {
        const char* scheme;
        ProtocolKind kind;
    } cases[] = {
        {"http", KindHttp}, {"FTP", KindFtp},   {"mms", KindMms},       {"mmst", KindMms},
        {"MMSU", KindMms},  {"Rtsp", KindRtsp554}, {"https", KindFromUrl}, {"mm", KindFromUrl},
        {"mmsux", KindFromUrl}, {"", KindFromUrl},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SchemeKind(c.scheme), c.kind) << c.scheme;
        EXPECT_EQ(IsMmsScheme(c.scheme), c.kind == KindMms) << c.scheme;
    }
}

TEST(UrlRules, RequestsGoToTheUrlsPortOrTheDownloadersOwn) {
    EXPECT_EQ(RequestPort("http://a.b/x", 80), 80);
    EXPECT_EQ(RequestPort("http://a.b:8080/x", 80), 8080);
    EXPECT_EQ(RequestPort("rtsp://a.b:0/x", 554), 554);
    EXPECT_EQ(RequestPort("rtsp://u:1@a.b/x", 554), 554);  // the password's digits are no port
}

// The two login rules side by side: a redirect keeps the login on the very server it was given
// for; a playlist hands it to every entry on its own host, whatever the entry's scheme and port.
TEST(UrlRules, RedirectAndPlaylistPassTheLoginOnByTheirOwnRules) {
    const std::string from = "http://media.example.com/list.asx";
    const std::string playlist = "http://joe:pw@media.example.com/list.asx";
    struct Case {
        const char* to;
        bool redirectGetsLogin;
        bool entryGetsLogin;
    } cases[] = {
        {"http://media.example.com/a.asf", true, true},
        {"http://MEDIA.example.com/a.asf", true, true},
        {"http://media.example.com:80/a.asf", true, true},    // the port left out is 80
        {"http://media.example.com:8080/a.asf", false, true},  // another server on the host
        {"rtsp://media.example.com/a.rm", false, true},        // another protocol on the host
        {"mms://media.example.com:1755/a.asf", false, true},
        {"http://other.example.com/a.asf", false, false},
        {"http://ann@media.example.com/a.asf", false, false},  // a login of its own stays
    };
    for (const auto& c : cases) {
        const std::string to = c.to;
        const std::string withLogin = to.substr(0, to.find("//") + 2) + "joe:pw@" + to.substr(to.find("//") + 2);
        EXPECT_EQ(WithRedirectLogin(from, to, 80, "joe", "pw"), c.redirectGetsLogin ? withLogin : to) << to;
        EXPECT_EQ(WithPlaylistLogin(playlist, to), c.entryGetsLogin ? withLogin : to) << to;
    }
}

}  // namespace
