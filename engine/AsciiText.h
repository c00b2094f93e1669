// ASCII text rules for protocol words, URLs and paths: the C locale's, whatever locale the process
// runs in, so a server's "Content-Length" and a user's "HTTP://" read the same everywhere.
#pragma once
#include <cstddef>
#include <string>

// The blanks every trim of the engine takes off unless it names its own.
constexpr char kAsciiSpaces[] = " \t\r\n\v\f";

// c is one of blanks (never the terminating zero).
bool IsAsciiBlank(char c, const char* blanks = kAsciiSpaces);

char LowerAscii(char c);
char UpperAscii(char c);
std::string LowerAscii(std::string text);
std::string UpperAscii(std::string text);

// Equal but for the case of ASCII letters; a null text only equals another null text.
bool EqualsNoCase(const char* a, const char* b);
bool EqualsNoCase(const std::string& a, const std::string& b);
// text holds prefix at index at, ignoring the case of ASCII letters.
bool StartsWithNoCase(const std::string& text, const std::string& prefix, std::size_t at = 0);

// text[begin, end) without the blanks at either end; begin and end must lie within text.
std::string TrimAscii(const std::string& text, std::size_t begin, std::size_t end,
                      const char* blanks = kAsciiSpaces);
std::string TrimAscii(const std::string& text, const char* blanks = kAsciiSpaces);
std::string TrimLeftAscii(const std::string& text, const char* blanks = kAsciiSpaces);
std::string TrimRightAscii(const std::string& text, const char* blanks = kAsciiSpaces);
