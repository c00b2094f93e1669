#include "EngineFactories.h"

#include "Factories.h"

namespace {
IEngineObject* FK_STDCALL NoManager() { return nullptr; }
}  // namespace

ManagerFactory StaticManagerFactory() { return &::NEW_FETCHKEEPER; }
ManagerFactory NullManagerFactory() { return &NoManager; }
