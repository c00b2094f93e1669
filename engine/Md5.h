// The MD5 message digest of RFC 1321, for the RN5 digest authorization of RealMedia servers.
#pragma once
#include <cstddef>
#include <cstdint>

struct Md5Context {
    uint32_t state[4];
    uint32_t count[2];  // bits hashed, low word first
    uint8_t buffer[64];
};

void Md5Init(Md5Context* context);
void Md5Update(Md5Context* context, const void* data, size_t length);
// Writes the 16-byte digest and clears the context.
void Md5Final(Md5Context* context, uint8_t digest[16]);

// The digest of length bytes as 32 lower-case hexadecimal characters and a NUL; out needs 33
// bytes. Returns out.
char* MD5(char* out, const void* data, size_t length);
