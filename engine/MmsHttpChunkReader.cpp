#include "MmsHttpChunkReader.h"

#include <cstdio>

#include "ByteReader.h"
#include "EngineTypes.h"
#include "StepResult.h"

int32_t MmsHttpChunkReader::Fail(int32_t code, std::string problem) {
    problem_ = std::move(problem);
    return code;
}

int32_t MmsHttpChunkReader::ReadHead(uint8_t* type, uint16_t* length) {
    problem_.clear();
    uint8_t head[kHeadSize];
    switch (source_(head, sizeof head)) {
        case Fill::Ok:
            break;
        case Fill::Closed:
            return kStreamEnd;
        case Fill::Failed:
            return ResultTimeOut;
    }
    ByteReader reader(head, sizeof head);
    if (reader.U8() != '$') return Fail(ResultReceiveError, "Invalid packet");
    *type = reader.U8();
    *length = reader.U16Le();
    return ResultSuccess;
}

int32_t MmsHttpChunkReader::ReadHeaderChunk(std::vector<uint8_t>& payload) {
    payload.clear();
    uint8_t type = 0;
    uint16_t length = 0;
    int32_t code = ReadHead(&type, &length);
    // A close before the header is as much a failure as a time-out.
    if (code == kStreamEnd) return ResultTimeOut;
    if (code != ResultSuccess) return code;
    if (type != 'H') return Fail(ResultReceiveError, "Not a head packet");
    if (length < kExtensionSize) return Fail(ResultReceiveError, "Header chunk too short");
    uint8_t extension[kExtensionSize];
    if (source_(extension, sizeof extension) != Fill::Ok) return ResultTimeOut;
    payload.resize(length - kExtensionSize);
    if (!payload.empty() && source_(payload.data(), payload.size()) != Fill::Ok) return ResultTimeOut;
    return ResultSuccess;
}

int32_t MmsHttpChunkReader::ReadHeader(std::vector<uint8_t>& header, const std::function<bool()>& stopped) {
    header.clear();
    std::vector<uint8_t> chunk;
    for (;;) {
        const int32_t code = ReadHeaderChunk(chunk);
        if (code != ResultSuccess) return code;
        if (header.size() + chunk.size() > kMaxHeaderSize) return Fail(ResultReceiveError, "Stream header too large");
        header.insert(header.end(), chunk.begin(), chunk.end());
        const size_t n = header.size();
        if (n >= 2 && header[n - 1] == 0x01 && header[n - 2] == 0x01) return ResultSuccess;
        if (stopped && stopped()) return ResultUserCancel;
    }
}

int32_t MmsHttpChunkReader::ReadDataChunk(uint8_t* packet, size_t capacity, size_t* length) {
    *length = 0;
    uint8_t type = 0;
    uint16_t size = 0;
    const int32_t code = ReadHead(&type, &size);
    if (code != ResultSuccess) return code;
    if (type == 'E' || type == 'C') return kStreamEnd;
    // A chunk with nothing behind its extension (or only half of one) ends the stream too.
    if (size == 4 || size == 8) return kStreamEnd;
    if (size < kExtensionSize) return Fail(ResultReceiveError, "Data chunk too short");
    if (type != 'D') {
        char text[64];
        std::snprintf(text, sizeof text, "Not a data packet: %x", unsigned(type));
        return Fail(ResultReceiveError, text);
    }
    const size_t payload = size - kExtensionSize;
    if (payload > capacity) return Fail(ResultReceiveError, "Data packet larger than the stream's packet size");
    uint8_t extension[kExtensionSize];
    if (source_(extension, sizeof extension) != Fill::Ok) return ResultTimeOut;
    if (payload && source_(packet, payload) != Fill::Ok) return ResultTimeOut;
    *length = payload;
    return ResultSuccess;
}
