// Opening a document, folder or address with the shell's verb "Open".
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace ui {

// What every shell open of the library goes through; tests put a recorder in its place. The
// answer is the shell's: greater than 32 on success.
using ShellOpenHook = std::function<INT_PTR(HWND owner, const std::string& target)>;
void SetShellOpenHook(ShellOpenHook hook);

// ShellExecute with the verb "Open", no parameters, no directory, shown normally.
INT_PTR ShellOpen(HWND owner, const std::string& target);

}  // namespace ui
