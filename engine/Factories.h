// The library's exported factories: one creating and one static-instance factory per class. Each
// class defines its pair beside its code (FK_DEFINE_FACTORIES) and is listed in Fetchkeeper.def.
#pragma once
#include "EngineObject.h"

#define FK_DECLARE_FACTORIES(NAME)                       \
    extern "C" IEngineObject* FK_STDCALL NEW_##NAME(void); \
    extern "C" IEngineObject* FK_STDCALL NEW_00_##NAME(void);

FK_DECLARE_FACTORIES(FETCHKEEPER)
FK_DECLARE_FACTORIES(DOWNITEM)
FK_DECLARE_FACTORIES(PRJMNG)
FK_DECLARE_FACTORIES(CQMSOCKET)
FK_DECLARE_FACTORIES(DOWNHTTP)
FK_DECLARE_FACTORIES(DOWNRTSP80)
FK_DECLARE_FACTORIES(DOWNLOAD)
FK_DECLARE_FACTORIES(PARSEPOINTERFILE)
FK_DECLARE_FACTORIES(REDIRECT)
FK_DECLARE_FACTORIES(DOWNFTP)
FK_DECLARE_FACTORIES(FMTRM)
