// Standard Base64 (RFC 4648 alphabet, '=' filler, no line breaks) for credentials and for headers
// carried inside session descriptions.
#pragma once
#include <cstdint>
#include <string>

// Encodes the bytes of a NUL-terminated text into out, followed by a NUL. out needs room for four
// characters per started group of three bytes, plus one.
void Base64Encode(const char* text, char* out);
std::string Base64EncodeText(const std::string& bytes);

// Decodes length characters of input into out, skipping every byte outside the alphabet; returns
// the bytes written (at most three per four characters, rounded up by the leftover characters).
int Base64Decode(const char* input, int length, uint8_t* out);
