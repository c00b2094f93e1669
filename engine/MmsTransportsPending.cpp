// Stand-ins for the MMS-over-RTSP factories until that downloader is in the tree: they make
// nothing, so the chooser passes over that transport as a failed one.
#include "Factories.h"

extern "C" IEngineObject* FK_STDCALL NEW_DOWNMMS554(void) { return nullptr; }
extern "C" IEngineObject* FK_STDCALL NEW_00_DOWNMMS554(void) { return nullptr; }
