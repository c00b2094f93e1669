// The number of GDI objects the process holds. Windows answers through GetGuiResources; Wine does
// not implement that call, but keeps its handle table where Windows keeps it, behind the process
// environment block: one entry per handle, its type byte 14 bytes in and non-zero while the object
// lives. The entry size (24 bytes, or 20 where 64-bit fields are packed) is found by watching the
// count follow objects made for the purpose.
#pragma once
#include <windows.h>
#include <winternl.h>

#include <cstddef>

namespace gdi_objects_detail {

inline const unsigned char* HandleTable() {
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return nullptr;
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    return *reinterpret_cast<const unsigned char* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
}

inline int Live(const unsigned char* table, size_t stride) {
    int live = 0;
    for (size_t i = 0; i < 0x10000; ++i) live += table[i * stride + 14] != 0;
    return live;
}

}  // namespace gdi_objects_detail

// -1 when the count cannot be had.
inline int GdiObjectCount() {
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) return static_cast<int>(counted);
    const unsigned char* table = gdi_objects_detail::HandleTable();
    if (!table) return -1;
    static size_t stride = 0;
    if (!stride) {
        // The smaller size first: reading the larger over a table of the smaller would run past its end.
        for (size_t candidate : {size_t{20}, size_t{24}}) {
            const int before = gdi_objects_detail::Live(table, candidate);
            HBRUSH made[64];
            for (HBRUSH& b : made) b = CreateSolidBrush(RGB(1, 2, 3));
            const int after = gdi_objects_detail::Live(table, candidate);
            for (HBRUSH b : made) DeleteObject(b);
            if (after - before == 64) {
                stride = candidate;
                break;
            }
        }
        if (!stride) return -1;
    }
    return gdi_objects_detail::Live(table, stride);
}
