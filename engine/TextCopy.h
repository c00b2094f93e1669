// Bounded copies into the engine's fixed text fields.
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

// Copies at most size-1 characters of text into out and terminates it; a null text copies as empty.
inline void CopyBounded(char* out, size_t size, const char* text) {
    if (!out || size == 0) return;
    size_t n = text ? std::strlen(text) : 0;
    if (n >= size) n = size - 1;
    if (n) std::memmove(out, text, n);
    out[n] = 0;
}

inline void CopyBounded(char* out, size_t size, const std::string& text) {
    CopyBounded(out, size, text.c_str());
}
