// The real media files under tests/fixtures/media, and what ffmpeg makes of a file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The fixture folder with a trailing separator (through drive Z: under Wine).
std::string MediaDir();
// The path of one of its files.
std::string MediaPath(const std::string& name);

// Whole files as bytes: FileBytes.h.
#include "FileBytes.h"

// What ffmpeg makes of a file: Framecrc.h.
#include "Framecrc.h"
