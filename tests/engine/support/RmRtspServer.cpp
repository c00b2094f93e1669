#include "RmRtspServer.h"

#include <cstdlib>

namespace {

std::string Reply(const std::string& request, const std::string& headers = "") {
    return "RTSP/1.0 200 OK\r\nCSeq: " + CSeqOf(request) + "\r\n" + headers + "\r\n";
}

// The next request head, or empty when none came.
std::string NextRequest(FixtureServer::Session& session, size_t* consumed) {
    if (!session.Expect("\r\n\r\n", 10000)) return {};
    const std::string got = session.Received();
    const size_t end = got.find("\r\n\r\n", *consumed) + 4;
    std::string head = got.substr(*consumed, end - *consumed);
    *consumed = end;
    return head;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// "Range: npt=12.345-" as milliseconds.
uint32_t RangeStartMs(const std::string& request) {
    const size_t at = request.find("Range: npt=");
    return at == std::string::npos ? 0 : uint32_t(std::atof(request.c_str() + at + 11) * 1000 + 0.5);
}

}  // namespace

std::string CSeqOf(const std::string& head) {
    const size_t at = head.find("CSeq: ");
    if (at == std::string::npos) return {};
    return head.substr(at + 6, head.find_first_of("\r\n", at) - at - 6);
}

void AddRmRtspScript(FixtureServer& server, const RmServerStream& stream, const RmRtspOptions& options) {
    server.AddScript().Call([stream, options](FixtureServer::Session& session) {
        size_t consumed = 0;
        bool firstDescribe = true;
        for (;;) {
            const std::string request = NextRequest(session, &consumed);
            if (request.empty()) return;
            if (StartsWith(request, "RTSP/")) continue;  // the client's answer to a request of ours
            if (options.onRequest) options.onRequest(request);
            if (StartsWith(request, "OPTIONS ")) {
                session.Send(Reply(request, "Server: RealServer Version 9.0\r\nSession: 7321-1\r\n"));
            } else if (StartsWith(request, "DESCRIBE ")) {
                if (firstDescribe && !options.firstDescribeReply.empty()) {
                    firstDescribe = false;
                    session.Send(options.firstDescribeReply);
                    continue;
                }
                firstDescribe = false;
                const std::string url = request.substr(9, request.find(' ', 9) - 9);
                session.Send(Reply(request, "ETag: 7321-2\r\nContent-base: " + url +
                                                "/\r\nContent-type: application/sdp\r\nContent-length: " +
                                                std::to_string(stream.sdp.size()) + "\r\n") +
                             stream.sdp);
            } else if (StartsWith(request, "SETUP ") || StartsWith(request, "SET_PARAMETER ")) {
                session.Send(Reply(request, "Session: 7321-2\r\n"));
            } else if (StartsWith(request, "PLAY ")) {
                // The reply comes among the data, as a server sends it.
                std::string data = Reply(request, "RTP-Info: url=streamid=0\r\n");
                const int64_t asked = options.ignoreRange ? 0 : int64_t(RangeStartMs(request)) + options.rangeShiftMs;
                size_t sent = 0;
                bool broken = false;
                for (size_t i = 0; i < stream.units.size() && sent < options.unitLimit && sent < options.endAfterUnits;
                     ++i) {
                    if (i >= options.unitsUpTo) {
                        broken = true;
                        break;
                    }
                    if (int64_t(stream.timestamps[i]) < asked) continue;
                    data += stream.units[i];
                    if (i == options.repeatUnit) data += stream.units[i];
                    if (++sent == options.messageAfter) data += options.message;
                    if (data.size() > (1u << 20)) {
                        if (!session.Send(data)) return;
                        data.clear();
                    }
                }
                broken = broken || sent >= options.unitLimit;
                if (!broken) data += EndUnit();
                session.Send(data);
                if (broken) {
                    // Waits for the client's end; nothing it could send is awaited.
                    if (options.stallAtLimit) session.Expect(std::string("\0\0never", 7), 60000);
                    return;  // closes: a broken connection
                }
            } else if (StartsWith(request, "TEARDOWN ")) {
                session.Send(Reply(request));
                return;
            } else {
                session.Send("RTSP/1.0 405 Method Not Allowed\r\nCSeq: " + CSeqOf(request) + "\r\n\r\n");
            }
        }
    });
}
