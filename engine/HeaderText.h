// The searches that read values out of reply heads, session descriptions and playlist files.
// Stateless; safe to call from any thread.
#pragma once
#include <string>

// Exact-case search for key from *pos (0 when pos is null). Found: *pos := index just after the
// key, result = text up to the first terminator character, trimmed. Not found, or *pos outside
// [0, text length]: empty result, *pos unchanged.
std::string GetHeaderValue(const std::string& text, const std::string& key, int* pos,
                           const std::string& terminators);
// Case-insensitive search for key from *pos (0 when pos is null), the ignored characters left out
// of both key and text. Found: *pos := index just after the key's last matched character, result
// = text from there up to the first terminator character, trimmed. No match: empty result,
// *pos := -1. Key longer than the remaining text by two or more: empty result, *pos unchanged.
// An empty reduced key, or *pos outside [0, text length], counts as no match.
std::string FindHeaderField(const std::string& text, const std::string& key, int* pos,
                            const std::string& terminators, const std::string& ignored);
