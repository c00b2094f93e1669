// A scripted MMS-over-HTTP server: real ASF media (made by ffmpeg) replayed as a stream server
// frames it. A request without "xPlayStrm=1" gets the header alone (how a player asks for the
// description first); one with it gets the header in $H chunks, every packet in a $D chunk from
// the asked stream time on, and an end chunk. Options make the faults a test needs.
//
//   MmsHttpFramer framer(AsfMedia::FromFile(MediaPath("av.wmv")));
//   framer.AddTo(server);   // answers every connection of the fixture server
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "AsfMedia.h"
#include "FixtureServer.h"
#include "MediaFiles.h"

class MmsHttpFramer {
public:
    enum class End {
        Long,   // $E with an 8-byte extension, 12 bytes in all (ffmpeg's and VLC's muxers)
        Short,  // $E with a 4-byte extension, 8 bytes in all (Windows Media servers)
        None,   // no end chunk: the connection just closes
    };
    struct Options {
        size_t headerChunks = 1;         // the header split over this many $H chunks
        bool trimPadding = false;        // packets sent without their trailing zero bytes
        End end = End::Long;
        size_t stopAfter = size_t(-1);   // close (or hold, below) after this many packets
        int holdOpenMs = 0;              // after the last chunk, keep the connection open this long
        bool contentLength = false;      // a reply with Content-Length (a plain body: the ASF file)
        bool framedLength = false;       // the framed reply with a Content-Length of its body
        uint32_t joinedAtMs = 0;         // a broadcast under way: a fresh request gets the packets
                                         // from the first one sent at this time on
        std::string extraChunk;          // sent after the header chunks (a malformed chunk, say)
        bool endAtStop = false;          // the end chunk follows the packets stopAfter lets through
        std::vector<size_t> repeatPackets;  // these packets (their index in the media) sent twice in a row
        int pauseMs = 0;                 // the reply sent a chunk's size at a time, pausing between
    };

    explicit MmsHttpFramer(AsfMedia media) : media_(std::move(media)) {}
    MmsHttpFramer(AsfMedia media, Options options) : media_(std::move(media)), options_(options) {}

    // A chunk as servers frame it: head, 8-byte extension (sequence, flags, length again), payload.
    static std::string Chunk(char type, const std::string& payload, uint32_t sequence);
    static std::string EndChunk(End form);
    // The stream time asked for by a request's Pragma ("stream-time=N"), 0 when none.
    static uint32_t StreamTime(const std::string& request);

    // The whole reply (head and body) to one request.
    std::string Reply(const std::string& request) const;
    // The index of the first packet sent for a stream time: two before the first one sent at or
    // after it, as servers start a little early.
    size_t FirstPacketFor(uint32_t streamTimeMs) const;

    // A script that answers one connection; AddTo answers every connection this way.
    void Answer(FixtureServer::Script& script) const;
    void AddTo(FixtureServer& server) const;

    const AsfMedia& Media() const { return media_; }
    Options& Settings() { return options_; }

private:
    AsfMedia media_;
    Options options_;
};
