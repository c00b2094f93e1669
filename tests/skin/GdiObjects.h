// The number of GDI objects the process holds. Windows answers through GetGuiResources; Wine does
// not implement that call, but keeps its handle table where Windows keeps it, behind the process
// environment block: one entry per handle, its type byte 14 bytes in and non-zero while the object
// lives. The entry size (24 bytes, or 20 where 64-bit fields are packed) is found by watching the
// count follow objects made for the purpose.
// A 32-bit process under a 64-bit Wine has no table behind its own process block: the table is the
// one of the 64-bit process block, reached from the 32-bit thread block (whose GdiBatchCount field
// holds the 64-bit thread block's address) through that block's process-block pointer.
#pragma once
#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace gdi_objects_detail {

// Reads a 64-bit pointer at `at`; null when the memory cannot be read or the value lies beyond what
// this process can address.
inline const unsigned char* Pointer64At(std::uintptr_t at) {
    if (!at) return nullptr;
    MEMORY_BASIC_INFORMATION region{};
    if (!VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof region) || region.State != MEM_COMMIT ||
        (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0)
        return nullptr;
    std::uint64_t value = 0;
    std::memcpy(&value, reinterpret_cast<const void*>(at), sizeof value);
    if (value == 0 || (sizeof(std::uintptr_t) < sizeof value && (value >> 32) != 0)) return nullptr;
    return reinterpret_cast<const unsigned char*>(static_cast<std::uintptr_t>(value));
}

inline const unsigned char* HandleTableOfWow64() {
    const auto* teb = reinterpret_cast<const unsigned char*>(NtCurrentTeb());
    std::uint32_t teb64 = 0;
    std::memcpy(&teb64, teb + 0xF70, sizeof teb64);  // GdiBatchCount
    const unsigned char* peb64 = Pointer64At(teb64 ? teb64 + 0x60 : 0);
    return peb64 ? Pointer64At(reinterpret_cast<std::uintptr_t>(peb64) + 0xF8) : nullptr;
}

inline const unsigned char* HandleTable() {
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return nullptr;
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    const auto* own = *reinterpret_cast<const unsigned char* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
    if (own || sizeof(void*) == 8) return own;
    return HandleTableOfWow64();
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
