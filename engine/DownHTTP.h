// Plain HTTP download with a browser-like header set.
#pragma once
#include "DownHttpBase.h"

class CDownHTTP final : public EngineObject<CDownHTTP, CDownHttpBase> {
public:
    int32_t FK_STDCALL Begin() override;
    std::string FK_STDCALL MakeRequest() override;
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue();
};
