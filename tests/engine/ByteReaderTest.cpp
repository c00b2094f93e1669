#include "ByteReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const std::vector<uint8_t> kBytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};

TEST(ByteReader, ReadsEachWidthInBothByteOrders) {
    struct Case {
        const char* name;
        std::function<uint64_t(ByteReader&)> read;
        uint64_t value;
        size_t width;
    } cases[] = {
        {"U8", [](ByteReader& r) { return r.U8(); }, 0x01, 1},
        {"U16Le", [](ByteReader& r) { return r.U16Le(); }, 0x0201, 2},
        {"U16Be", [](ByteReader& r) { return r.U16Be(); }, 0x0102, 2},
        {"U32Le", [](ByteReader& r) { return r.U32Le(); }, 0x04030201, 4},
        {"U32Be", [](ByteReader& r) { return r.U32Be(); }, 0x01020304, 4},
        {"U64Le", [](ByteReader& r) { return r.U64Le(); }, 0x0807060504030201ull, 8},
        {"U64Be", [](ByteReader& r) { return r.U64Be(); }, 0x0102030405060708ull, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteReader r(kBytes.data(), kBytes.size());
        EXPECT_EQ(c.read(r), c.value);
        EXPECT_EQ(r.Position(), c.width);
        EXPECT_EQ(r.Remaining(), kBytes.size() - c.width);
        // The next read continues right behind the first.
        EXPECT_EQ(r.U8(), kBytes[c.width]);
        EXPECT_TRUE(r.Ok());
    }
}

TEST(ByteReader, ReadingExactlyToTheEndIsNoFailure) {
    ByteReader r(kBytes.data(), kBytes.size());
    EXPECT_EQ(r.U64Le(), 0x0807060504030201ull);
    EXPECT_EQ(r.U8(), 0x09);
    EXPECT_EQ(r.Remaining(), 0u);
    EXPECT_TRUE(r.Skip(0));
    EXPECT_TRUE(r.Ok());
}

// Every operation that would pass the end fails the reader for good: it yields 0 or null, the
// position moves to the end, and later reads that would fit fail too.
TEST(ByteReader, PassingTheEndFailsForGood) {
    struct Case {
        const char* name;
        size_t consumed;                           // read before the failing operation
        std::function<bool(ByteReader&)> overrun;  // true when the operation reported nothing
    } cases[] = {
        {"U8", 9, [](ByteReader& r) { return r.U8() == 0; }},
        {"U16Le", 8, [](ByteReader& r) { return r.U16Le() == 0; }},
        {"U16Be", 8, [](ByteReader& r) { return r.U16Be() == 0; }},
        {"U32Le", 6, [](ByteReader& r) { return r.U32Le() == 0; }},
        {"U32Be", 6, [](ByteReader& r) { return r.U32Be() == 0; }},
        {"U64Le", 2, [](ByteReader& r) { return r.U64Le() == 0; }},
        {"U64Be", 2, [](ByteReader& r) { return r.U64Be() == 0; }},
        {"Skip", 4, [](ByteReader& r) { return !r.Skip(6); }},
        {"Skip huge", 1, [](ByteReader& r) { return !r.Skip(SIZE_MAX); }},
        {"Bytes", 4, [](ByteReader& r) { return r.Bytes(6) == nullptr; }},
        {"Bytes huge", 1, [](ByteReader& r) { return r.Bytes(SIZE_MAX) == nullptr; }},
        {"Sub", 4, [](ByteReader& r) { return r.Sub(6).Failed(); }},
        {"Seek", 0, [](ByteReader& r) { return !r.Seek(10); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteReader r(kBytes.data(), kBytes.size());
        ASSERT_TRUE(r.Skip(c.consumed));
        EXPECT_TRUE(c.overrun(r));
        EXPECT_TRUE(r.Failed());
        EXPECT_EQ(r.Remaining(), 0u);
        EXPECT_EQ(r.Position(), kBytes.size());
        // Sticky: neither a fitting read nor a seek back brings it back.
        EXPECT_FALSE(r.Seek(0));
        EXPECT_EQ(r.U8(), 0);
        EXPECT_TRUE(r.Failed());
    }
}

TEST(ByteReader, BytesPointsIntoTheDataAndMovesOn) {
    ByteReader r(kBytes.data(), kBytes.size());
    r.Skip(2);
    const uint8_t* p = r.Bytes(3);
    ASSERT_EQ(p, kBytes.data() + 2);
    EXPECT_EQ(r.Position(), 5u);
    EXPECT_EQ(r.Bytes(0), kBytes.data() + 5);
    EXPECT_TRUE(r.Ok());
}

TEST(ByteReader, SubReaderIsBoundedToItsSlice) {
    ByteReader r(kBytes.data(), kBytes.size());
    r.Skip(1);
    ByteReader sub = r.Sub(3);
    EXPECT_EQ(r.Position(), 4u);
    EXPECT_EQ(sub.Size(), 3u);
    EXPECT_EQ(sub.U16Le(), 0x0302);
    // Two bytes would fit in the parent but not in the slice.
    EXPECT_EQ(sub.U16Le(), 0);
    EXPECT_TRUE(sub.Failed());
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.U8(), 0x05);
}

TEST(ByteReader, FindLooksFromThePositionWithoutMoving) {
    const std::string text = "abcabcab";
    const auto* data = reinterpret_cast<const uint8_t*>(text.data());
    auto pattern = [](const char* s) { return reinterpret_cast<const uint8_t*>(s); };
    struct Case {
        size_t from;
        const char* pattern;
        size_t found;
    } cases[] = {
        {0, "abc", 0},
        {1, "abc", 3},
        {4, "abc", ByteReader::npos},
        {6, "ab", 6},
        {7, "ab", ByteReader::npos},
        {0, "x", ByteReader::npos},
        {0, "abcabcabc", ByteReader::npos},
        {3, "", 3},
        {8, "", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " " + c.pattern);
        ByteReader r(data, text.size());
        ASSERT_TRUE(r.Seek(c.from));
        EXPECT_EQ(r.Find(pattern(c.pattern), std::strlen(c.pattern)), c.found);
        EXPECT_EQ(r.Position(), c.from);
        EXPECT_TRUE(r.Ok());
    }
}

TEST(ByteReader, ReaderOverNothingFailsAtTheFirstRead) {
    for (ByteReader r : {ByteReader(), ByteReader(nullptr, 100)}) {
        EXPECT_EQ(r.Size(), 0u);
        EXPECT_TRUE(r.Skip(0));
        EXPECT_EQ(r.U8(), 0);
        EXPECT_TRUE(r.Failed());
    }
}

}  // namespace
