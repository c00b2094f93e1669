// Feeds arbitrary chunk-size lines to the chunk-size reader: a size it accepts is never negative
// and never beyond what a 64-bit count holds with room to add to it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "DownHttpBase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The line area is 256 bytes, NUL included.
    const std::string line(reinterpret_cast<const char*>(data), size < 255 ? size : 255);
    int64_t chunk = -1;
    if (CDownHttpBase::ParseChunkSize(line.c_str(), &chunk)) {
        if (chunk < 0 || chunk >= (int64_t(1) << 60)) std::abort();
        if (line.empty() || !((line[0] >= '0' && line[0] <= '9') || (line[0] >= 'a' && line[0] <= 'f') ||
                              (line[0] >= 'A' && line[0] <= 'F'))) {
            std::abort();
        }
    }
    return 0;
}
