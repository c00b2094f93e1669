// The binding to the engine library: its manager factories, offered as the program's own
// functions, and the program's directory.
#pragma once
#include "IFetchkeeper.h"

using ManagerFactory = IEngineObject* (FK_STDCALL*)();

// Loads "Fetchkeeper.dll" by file name and looks its two manager factories up; either stays null
// when the library or the export is missing.
void LoadEngineLibrary();

// Exported from the program under these names; null while the factory is unbound. Their link names
// are the program's own: without the 32-bit stdcall decoration the engine's factories, linked into
// the program's tests, carry the same plain names.
#define RC_STR2(x) #x
#define RC_STR(x) RC_STR2(x)
#define RC_LINK_NAME(name) __asm__(RC_STR(__USER_LABEL_PREFIX__) #name)
extern "C" IFetchkeeper* NEW_FETCHKEEPER(void) RC_LINK_NAME(RipplecastNewFetchkeeper);
extern "C" IFetchkeeper* NEW_00_FETCHKEEPER(void) RC_LINK_NAME(RipplecastNew00Fetchkeeper);

// The directory of the running program without a trailing backslash, cached on first use.
const char* ProgramDirectory();

// For hosts that run the windows without the library beside them (the program's tests): binds
// factories directly, and fixes the directory that the settings file is found in.
void BindEngineFactories(ManagerFactory create, ManagerFactory shared);
void SetProgramDirectory(const char* directory);
