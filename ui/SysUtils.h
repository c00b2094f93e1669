// Text helpers of the class library.
#pragma once
#include <string>

#include "Component.h"

namespace ui {

// The conversion error of StrToInt.
class EConvertError : public Exception {
public:
    explicit EConvertError(const std::string& message) : Exception(message) {}
};

// The list error of an index outside a list: "List index out of bounds (<index>)".
[[noreturn]] void ThrowListIndexError(int index);

// Blanks and control characters removed at both ends.
std::string Trim(const std::string& text);
// A decimal integer (optional sign, blanks around allowed); EConvertError otherwise.
int StrToInt(const std::string& text);

}  // namespace ui
