// Parses pathological playlist texts as large as an item hands over (51200 bytes) and prints the
// time each takes, so that a parse that grows with the square of the file shows at once.
//   parse_driver <scratch file>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "Factories.h"
#include "ParsePointerFile.h"

namespace {

struct CountingSink final : IUrlSink {
    int found = 0;
    void FK_STDCALL AddUrl(const char*, int32_t) override { ++found; }
    void FK_STDCALL AddUrlDefault(const char*) override {}
};

std::string Repeat(const std::string& piece, std::size_t total) {
    std::string text;
    while (text.size() + piece.size() <= total) text += piece;
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string path = argv[1];
    const std::size_t size = 51200;
    struct Text {
        const char* name;
        std::string bytes;
        int32_t kind;
    };
    const Text texts[] = {
        {"asx: keys without a line end", "<ASX>" + Repeat("<ref href=", size - 5), 2},
        {"asx: keys sharing one quote", "<ASX>" + Repeat("<ref href=\"", size - 5), 2},
        {"html: keys without a line end", Repeat("param name=\"SRC\" value=", size), 1},
        {"smil: switch pairs", "<smil>" + Repeat("<switch></switch>", size - 6), 3},
        {"smil: empty seq blocks", "<smil><switch>" + Repeat("<seq></seq>", size - 30) + "</switch>", 3},
        {"smil: media tags", "<smil>" + Repeat("<audio src=", size - 6), 3},
        {"ram: url lines", Repeat("rtsp://a.example.com/c.rm\n", size), 4},
    };
    for (const Text& t : texts) {
        {
            std::ofstream out(path, std::ios::binary);
            out << t.bytes;
        }
        EnginePtr<CParsePointerFile> parser(static_cast<CParsePointerFile*>(NEW_PARSEPOINTERFILE()));
        if (!parser) return 1;
        parser->Set(path.c_str(), "http://www.example.com/lists/show.asx", t.kind);
        CountingSink sink;
        const auto start = std::chrono::steady_clock::now();
        parser->Parse(&sink);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-34s %8.2f ms  (%d found)\n", t.name, ms, sink.found);
    }
    std::remove(path.c_str());
    return 0;
}
