// Stand-ins for the MMS-over-RTSP and MMS-over-HTTP factories until those downloaders are in the
// tree: they make nothing, so the chooser passes over those transports as failed ones.
#include "Factories.h"

extern "C" IEngineObject* FK_STDCALL NEW_DOWNMMS554(void) { return nullptr; }
extern "C" IEngineObject* FK_STDCALL NEW_00_DOWNMMS554(void) { return nullptr; }
extern "C" IEngineObject* FK_STDCALL NEW_DOWNMMS80(void) { return nullptr; }
extern "C" IEngineObject* FK_STDCALL NEW_00_DOWNMMS80(void) { return nullptr; }
