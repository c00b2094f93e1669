// What ffmpeg itself makes of an input (a file or a stream URL): the checksum of every packet
// (with "-c copy") or of every decoded frame. Needs the native ffmpeg, so the Windows build has
// none of it.
#pragma once
#ifndef _WIN32
#include <string>

// The per-packet lines of ffmpeg's framecrc output (the lines that describe the input are left
// out), followed by any error text; "ffmpeg failed" when ffmpeg did not succeed within 30 s.
std::string Framecrc(const std::string& input, const std::string& options, const std::string& inputOptions = "");
#endif
