// The cleaning of a typed file name: what Add and Property do to the name before it becomes part
// of a destination path.
#pragma once
#include <string>

// Removes every character a Windows file name cannot hold (" * / : < > ? \ |) and keeps at most
// 510 characters; the result is always terminated.
void SanitizeFileName(char* name);
std::string SanitizeFileName(const std::string& name);

// A cleaned name that still names a file of its own in the folder: not empty and not made of dots
// and blanks only (Windows drops those at the end of a name, so "", ".", ".." and "  " would all
// make the folder itself, or its parent, the destination).
bool IsUsableFileName(const std::string& cleaned);
