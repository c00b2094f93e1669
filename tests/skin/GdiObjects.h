// The number of GDI objects the process holds. Windows answers through GetGuiResources; Wine does
// not implement that call, but keeps its handle table where Windows keeps it, behind the process
// environment block, one 24-byte entry per handle with a non-zero type while the object lives.
#pragma once
#include <windows.h>
#include <winternl.h>

#include <cstdint>

inline int GdiObjectCount() {
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) return static_cast<int>(counted);
    struct Entry {
        uint64_t object;
        uint32_t owner;
        uint16_t unique;
        uint8_t type, flags;
        uint64_t user;
    };
    static_assert(sizeof(Entry) == 24, "Wine's handle entry");
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const Entry* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
    if (!table) return -1;
    int live = 0;
    for (int i = 0; i < 0x10000; ++i) live += table[i].type != 0;
    return live;
}
