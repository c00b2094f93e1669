// The readers of numbers written as text in replies, descriptions, records and settings: one rule
// each, shared by every protocol and file that writes its numbers the same way.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The decimal digits from at on (none is fine), their value saturated at limit; at moves past them.
uint64_t ReadDigits(const std::string& text, std::size_t& at, uint64_t limit);

// Blanks (space, tab), an optional sign, then digits, whatever follows them: a number of a resume
// record or a setting. Its magnitude saturates at 2^32, beyond every 32-bit value, so a caller's
// range check still refuses it; nullopt without a digit.
std::optional<int64_t> LeadingDecimal(const std::string& text);

// A byte count as a head gives it (Content-Length and the like): decimal digits, blanks around them
// allowed and nothing else. False when there is no digit, anything else stands beside them, or the
// value passes limit.
bool ParseByteCount(const std::string& text, uint64_t limit, uint64_t* value);

// The value of a hexadecimal digit (0-9, a-f, A-F); -1 for any other character.
int HexDigitValue(char c);
