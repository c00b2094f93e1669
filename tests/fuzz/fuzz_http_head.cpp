// Feeds arbitrary reply heads to the HTTP status, header, length and range readers and to the
// header step of a downloader, and checks what the body receive relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "DownHTTP.h"
#include "Factories.h"
#include "UrlModel.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string head(reinterpret_cast<const char*>(data), size);

    const int status = CDownHttpBase::ParseStatusCode(head);
    Check(status == 0 || (status >= 100 && status <= 999));

    for (const char* name : {"Content-Length", "Transfer-Encoding", "Content-Type", "Location", "Content-Range"}) {
        std::string value;
        if (CDownHttpBase::FindHeader(head, name, &value)) {
            Check(value.size() <= head.size());
            Check(value.find('\n') == std::string::npos);
            int64_t length = -1;
            if (CDownHttpBase::ParseLength(value, &length)) Check(length >= 0 && length < (int64_t(1) << 62));
            int64_t first = -1, total = -2;
            if (CDownHttpBase::ParseContentRange(value, &first, &total)) {
                Check(first >= 0);
                Check(total == -1 || total > first);
            }
            const std::string target = ResolveRedirectLocation("http://127.0.0.1:8080/a/b.bin?x=/y", value);
            Check(target.size() <= value.size() + 64 && target.size() <= kUrlTextMax);
        }
    }

    static CDownHTTP* downloader = static_cast<CDownHTTP*>(NEW_DOWNHTTP());
    const std::string text(head.c_str());  // the receive step hands the head on as NUL-ended text
    const int32_t code = downloader->ParseHeaders(text.c_str());
    Check(code == 0 || code == 5);
    if (code == 0) Check(downloader->TotalSize() >= -1);
    return 0;
}
