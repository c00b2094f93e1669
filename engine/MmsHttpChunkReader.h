// The framed chunks of an MMS stream over HTTP. Each chunk opens with a 4-byte head: '$', the
// chunk type ('H' header, 'D' data, 'E' or 'C' end), and a 16-bit little-endian length of what
// follows. Header and data chunks go on with an 8-byte extension and their payload; an end chunk
// may be as short as 8 bytes in all, so nothing is read past what its head announces.
//
// The reader takes its bytes from a source (the socket, or memory in the fuzz target) and bounds
// every length by what the caller can take.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class MmsHttpChunkReader {
public:
    // What a source did with one request for count bytes.
    enum class Fill {
        Ok,      // all count bytes are there
        Closed,  // the peer closed before the first of them
        Failed,  // time-out, broken connection, or a close part way
    };
    using Source = std::function<Fill(uint8_t* bytes, size_t count)>;

    static constexpr size_t kHeadSize = 4;
    static constexpr size_t kExtensionSize = 8;
    // Longest stream header collected over any number of header chunks.
    static constexpr size_t kMaxHeaderSize = size_t(4) << 20;

    explicit MmsHttpChunkReader(Source source) : source_(std::move(source)) {}

    // One header chunk; its payload replaces payload's content. 0, or a DownResult (9 read
    // failure, 6 malformed) with the reason in Problem().
    int32_t ReadHeaderChunk(std::vector<uint8_t>& payload);
    // Header chunks until the collected header ends with the Data Object's 01 01 (or the reader
    // fails); header receives the whole. stopped is asked between chunks (3 when it says so).
    int32_t ReadHeader(std::vector<uint8_t>& header, const std::function<bool()>& stopped);
    // One chunk of the data phase: 0 with a packet of *length bytes (at most capacity) in packet,
    // kStreamEnd at the end of the stream (an end chunk, or the peer closing between chunks), or a
    // DownResult with the reason in Problem().
    int32_t ReadDataChunk(uint8_t* packet, size_t capacity, size_t* length);

    // Why the last call failed, for the log; empty when it said nothing.
    const std::string& Problem() const { return problem_; }

private:
    // Reads the 4-byte head: 0, kStreamEnd closed before it, or a DownResult.
    int32_t ReadHead(uint8_t* type, uint16_t* length);
    int32_t Fail(int32_t code, std::string problem);

    Source source_;
    std::string problem_;
};
