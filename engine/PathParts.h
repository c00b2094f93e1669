// Where a local path's folder ends and its file name's extension begins, '\' and '/' both
// separating folders. Inline and with no other engine dependency, so the program, which binds the
// engine only at run time, splits paths by the same rule.
#pragma once
#include <cstddef>
#include <string>

// The index of the file name: just after the last separator, 0 without one.
inline std::size_t NameStart(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? 0 : separator + 1;
}

// The folder, its last separator included; empty when the path has none.
inline std::string FolderOf(const std::string& path) { return path.substr(0, NameStart(path)); }

// The index of the file name's last '.', where its extension begins; npos when the name has none
// (a '.' in a folder's name is no extension).
inline std::size_t ExtensionDot(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < NameStart(path) ? std::string::npos : dot;
}
