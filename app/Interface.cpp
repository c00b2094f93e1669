#include "Interface.h"

#include <windows.h>

#include <cstring>

namespace {

ManagerFactory managerFactory = nullptr;
ManagerFactory sharedManagerFactory = nullptr;
char programDirectory[260] = {};

IFetchkeeper* Call(ManagerFactory factory) {
    // The manager's table starts with the engine object's, so the two pointers are one.
    return factory ? static_cast<IFetchkeeper*>(factory()) : nullptr;
}

}  // namespace

void LoadEngineLibrary() {
    HMODULE module = LoadLibraryA("Fetchkeeper.dll");
    if (!module) return;
    managerFactory = reinterpret_cast<ManagerFactory>(
        reinterpret_cast<void*>(GetProcAddress(module, "_NEW_FETCHKEEPER@0")));
    sharedManagerFactory = reinterpret_cast<ManagerFactory>(
        reinterpret_cast<void*>(GetProcAddress(module, "_NEW_00_FETCHKEEPER@0")));
}

extern "C" IFetchkeeper* NEW_FETCHKEEPER(void) { return Call(managerFactory); }
extern "C" IFetchkeeper* NEW_00_FETCHKEEPER(void) { return Call(sharedManagerFactory); }

const char* ProgramDirectory() {
    if (programDirectory[0] == '\0') {
        GetModuleFileNameA(nullptr, programDirectory, sizeof programDirectory);
        programDirectory[sizeof programDirectory - 1] = '\0';
        if (char* slash = std::strrchr(programDirectory, '\\')) *slash = '\0';
    }
    return programDirectory;
}

void BindEngineFactories(ManagerFactory create, ManagerFactory shared) {
    managerFactory = create;
    sharedManagerFactory = shared;
}

void SetProgramDirectory(const char* directory) {
    std::strncpy(programDirectory, directory ? directory : "", sizeof programDirectory - 1);
    programDirectory[sizeof programDirectory - 1] = '\0';
}
