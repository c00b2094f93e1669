// Follows a small finished download that may be a playlist or pointer file: parses it and queues
// every stream it names as a new item in the same folder.
#pragma once
#include <cstdint>
#include <string>

#include "EngineObject.h"
#include "IItemHost.h"
#include "IRedirect.h"
#include "IUrlSink.h"

class CRedirect final : public EngineObject<CRedirect, IRedirect>, public IUrlSink {
public:
    bool FK_STDCALL Init() override;
    bool FK_STDCALL ReturnTrue() override;
    void FK_STDCALL Run(const char* url, const char* destFile, int32_t contentKind,
                        IItemHost* host) override;

    // The sink's overrides take slots in the primary table too, after the resolver's own.
    void FK_STDCALL AddUrl(const char* url, int32_t kind) override;
    void FK_STDCALL AddUrlDefault(const char* url) override;

private:
    IItemHost* host_ = nullptr;  // not owned
    std::string destDir_;
};
