// What the engine holds a URL to before it runs or queues it, and where a login given with one URL
// goes with the URLs it leads to. The two login rules differ on purpose; both live here so that
// neither is changed without the other in view.
#pragma once
#include <string>

// A URL a run accepts: a scheme of kRunSchemes (ItemRules.h) and a host with a '.' in it.
bool IsRunnableUrl(const std::string& url);

// Where a URL's requests go: its port, or defaultPort (the downloader's own) when it names none.
int RequestPort(const std::string& url, int defaultPort);

// Each login rule gives `to` with the login put in where the rule lets it go there, `to` as it is
// where not, and the empty text when the login would make it too long for an item's URL field.
//
// A redirect answers the very request the user gave the login for: the login goes along only to
// the same server, scheme, host and port alike (a port left out is defaultPort, the downloader's
// own, the schemes being the same).
std::string WithRedirectLogin(const std::string& from, const std::string& to, int defaultPort,
                              const std::string& user, const std::string& password);
// A playlist names streams that its own host serves over other protocols and ports (a playlist
// fetched over HTTP lists the host's RTSP or MMS streams): an entry on the playlist's host gets
// the playlist's login whatever its scheme and port, an entry on any other host never does.
std::string WithPlaylistLogin(const std::string& playlistUrl, const std::string& entry);
