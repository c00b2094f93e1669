// Reads a small finished file as a playlist or pointer file and queues what it lists.
#pragma once
#include <cstdint>

#include "EngineObject.h"
#include "IItemHost.h"

class IRedirect : public IEngineObject {
public:
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue() = 0;
    virtual void FK_STDCALL Run(const char* url, const char* destFile, int32_t contentKind,
                                IItemHost* host) = 0;

protected:
    ~IRedirect() = default;
};
