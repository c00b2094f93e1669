// Host-name lookup bounded by a time-out and a stop. The platform's lookup cannot be interrupted,
// so it runs on one of a few long-lived lookup threads; the waiting side abandons it when the time
// runs out or a stop comes, and the thread goes on to the next lookup once the resolver returns.
#pragma once
#include <functional>
#include <string>

enum class LookupResult { Found, NotFound, TimedOut, Stopped };

// The IPv4 address of host as dotted text; a dotted address is taken as it is, at once.
// timeoutMs < 0 waits without limit; stopped (may be empty) is asked several times a second.
LookupResult LookUpHost(const std::string& host, int timeoutMs, const std::function<bool()>& stopped,
                        std::string& address);

// For tests: a resolver used in place of the platform's (null puts the platform's back).
using HostResolver = bool (*)(const std::string& host, std::string& address);
void SetHostResolverForTests(HostResolver resolver);
