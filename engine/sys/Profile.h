// Settings-file (INI) access: the private-profile calls on Windows, our own reader and writer
// elsewhere, with the same results so that either build reads what the other wrote.
// Every call opens, reads or writes, and closes the file; nothing is cached between calls.
#pragma once
#include <cstddef>
#include <string>

namespace sys {

// The value of key in section, or def when the file, the section or the key is missing.
// Cut to fit a buffer of bufferSize bytes, so at most bufferSize - 1 characters.
// Section and key must not be null (listing names is not offered).
std::string ProfileGetString(const std::string& path, const char* section, const char* key, const char* def,
                             size_t bufferSize);

// The value of key read as a decimal (or 0x hexadecimal) number; def when the value is missing or empty.
int ProfileGetInt(const std::string& path, const char* section, const char* key, int def);

// Sets key in section, creating the file and the section on first write.
// A null key removes the whole section; a null value removes the key.
bool ProfileWriteString(const std::string& path, const char* section, const char* key, const char* value);

}  // namespace sys
