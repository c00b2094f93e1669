// Serves one ASF file as an MMS stream on 127.0.0.1 and a free port, replaying its packets as fast
// as the socket takes them: the server side of the MMS benchmark. Prints the port, then serves
// every connection until it is terminated.
//   stream_server TRANSPORT MEDIA_FILE       (TRANSPORT: http, tcp, rtsp or rtsp-stripped)
#include <cstdio>
#include <cstring>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "FixtureServer.h"
#include "MmsHttpFramer.h"
#include "MmsTcpFixture.h"
#include "RtspFixture.h"

namespace {

// MMS over HTTP: the replies are made once, so each connection only sends.
void ServeHttp(FixtureServer& server, const AsfMedia& media) {
    const MmsHttpFramer framer(media);
    auto play = std::make_shared<std::string>(framer.Reply("Pragma: xPlayStrm=1\r\n"));
    auto describe = std::make_shared<std::string>(framer.Reply(""));
    server.AddScript()
        .ExpectHead()
        .Call([play, describe](FixtureServer::Session& session) {
            session.Send(session.Received().find("xPlayStrm=1") != std::string::npos ? *play : *describe);
        })
        .Close();
    server.RepeatLastScript();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TRANSPORT MEDIA_FILE\n", argv[0]);
        return 2;
    }
    const AsfMedia media = AsfMedia::FromFile(argv[2]);
    if (!media.Ok()) {
        std::fprintf(stderr, "cannot read %s as ASF\n", argv[2]);
        return 2;
    }
    FixtureServer server;
    std::unique_ptr<MmsTcpFixture> tcp;
    std::unique_ptr<RtspFixture> rtsp;
    int port = 0;
    if (std::strcmp(argv[1], "http") == 0) {
        server.SetExpectTimeOut(60000);
        ServeHttp(server, media);
        server.Start();
        port = server.Port();
    } else if (std::strcmp(argv[1], "tcp") == 0) {
        tcp = std::make_unique<MmsTcpFixture>(MmsTcpFixture::LoadAsf(argv[2]));
        tcp->Start();
        port = tcp->Port();
    } else if (std::strcmp(argv[1], "rtsp") == 0 || std::strcmp(argv[1], "rtsp-stripped") == 0) {
        rtsp = std::make_unique<RtspFixture>(RtspFixture::Media{media.header, media.packets});
        if (std::strcmp(argv[1], "rtsp-stripped") == 0) {
            // Packets as a streaming server sends them, without their padding (ffmpeg's RTSP
            // client takes them only so), and the connection closed after the last.
            rtsp->Set().strip = true;
            rtsp->Set().end = RtspFixture::Options::End::Close;
        }
        rtsp->Start();
        port = rtsp->Port();
    } else {
        std::fprintf(stderr, "unknown transport %s\n", argv[1]);
        return 2;
    }
    std::printf("%d\n", port);
    std::fflush(stdout);
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}
