// The statically linked engine's manager factories, for binding the program's windows to it.
#pragma once
#include "EngineObject.h"

using ManagerFactory = IEngineObject* (FK_STDCALL*)();

ManagerFactory StaticManagerFactory();
// A factory that never gives a manager.
ManagerFactory NullManagerFactory();
