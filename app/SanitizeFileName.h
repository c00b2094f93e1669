// The cleaning of a typed file name: what Add and Property do to the name before it becomes part
// of a destination path.
#pragma once
#include <string>

// IsUsableFileName, the check a cleaned name must pass: the engine's rule.
#include "ItemRules.h"

// Removes every character a Windows file name cannot hold (" * / : < > ? \ |) and keeps at most
// kUrlFileNameMax characters, as many as a file name taken from a URL; the result is always terminated.
void SanitizeFileName(char* name);
std::string SanitizeFileName(const std::string& name);
