// Where the playlist parser hands each stream URL it accepts.
#pragma once
#include <cstdint>

#include "EngineTypes.h"

class IUrlSink {
public:
    // kind is the ProtocolKind the new item is to run with.
    virtual void FK_STDCALL AddUrl(const char* url, int32_t kind) = 0;
    // The parser hands every URL with its kind; kept for the table's layout.
    virtual void FK_STDCALL AddUrlDefault(const char* url) = 0;

protected:
    ~IUrlSink() = default;
};
