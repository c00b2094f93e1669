// The real media files under tests/fixtures/media, and what ffmpeg makes of a file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The fixture folder with a trailing separator (through drive Z: under Wine).
std::string MediaDir();
std::vector<uint8_t> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes);

// What ffmpeg makes of a file: Framecrc.h.
#include "Framecrc.h"
