// RealMedia over HTTP (port 80): the HTTP exchange with a RealMedia player's header set. The item
// falls back to it when a plain HTTP run fails.
#pragma once
#include "DownHttpBase.h"

class CDownRTSP80 final : public EngineObject<CDownRTSP80, CDownHttpBase> {
public:
    int32_t FK_STDCALL Begin() override;
    std::string FK_STDCALL MakeRequest() override;
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue();
};
