#include "ByteBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "TempDir.h"

namespace {

void WriteRaw(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ByteBuffer, GrowsInWholeBlocks) {
    struct Case {
        int first, second, capacity;
    } cases[] = {
        {1, 0, 256}, {300, 0, 512}, {256, 0, 256}, {200, 56, 256}, {200, 57, 512}, {0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + "+" + std::to_string(c.second));
        CByteBuffer buffer;
        std::string bytes(size_t(c.first + c.second), 'x');
        ASSERT_TRUE(buffer.Append(bytes.data(), c.first));
        ASSERT_TRUE(buffer.Append(bytes.data(), c.second));
        EXPECT_EQ(buffer.GetLength(), c.first + c.second);
        EXPECT_EQ(buffer.Capacity(), c.capacity);
    }
}

TEST(ByteBuffer, KeepsContentAcrossGrowth) {
    CByteBuffer buffer;
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(buffer.AppendByte(uint8_t(i)));
        expected.push_back(char(i));
    }
    ASSERT_EQ(buffer.GetLength(), 1000);
    EXPECT_EQ(std::memcmp(buffer.GetData(), expected.data(), 1000), 0);
}

TEST(ByteBuffer, NewBlockSizeAppliesAtNextGrowth) {
    CByteBuffer buffer;
    buffer.AppendString("abc");
    buffer.SetBlockSize(1024);
    EXPECT_EQ(buffer.Capacity(), 256);
    std::string fill(300, 'y');
    buffer.AppendString(fill.c_str());
    EXPECT_EQ(buffer.Capacity(), 1024);
    EXPECT_EQ(buffer.GetLength(), 303);
}

TEST(ByteBuffer, StringViewTerminatesWithoutCounting) {
    CByteBuffer empty;
    EXPECT_EQ(empty.GetString(), nullptr);

    CByteBuffer full;
    std::string bytes(256, 'z');
    full.Append(bytes.data(), 256);
    ASSERT_EQ(full.Capacity(), 256);
    const char* text = full.GetString();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(full.GetLength(), 256);
    EXPECT_EQ(full.Capacity(), 512);
    EXPECT_EQ(std::string(text), bytes);

    CByteBuffer part;
    part.AppendString("hello");
    EXPECT_STREQ(part.GetString(), "hello");
    EXPECT_EQ(part.GetLength(), 5);
}

TEST(ByteBuffer, DwordIsLittleEndian) {
    CByteBuffer buffer;
    buffer.AppendDword(1);
    buffer.AppendDword(0xA1B2C3D4u);
    const uint8_t expected[] = {1, 0, 0, 0, 0xD4, 0xC3, 0xB2, 0xA1};
    ASSERT_EQ(buffer.GetLength(), 8);
    EXPECT_EQ(std::memcmp(buffer.GetData(), expected, 8), 0);
}

TEST(ByteBuffer, PadToMultiple) {
    struct Case {
        int length, multiple, padded;
    } cases[] = {{100, 64, 128}, {128, 64, 128}, {0, 64, 0}, {5, 1, 5}, {7, 0, 7}, {7, -4, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + " to " + std::to_string(c.multiple));
        CByteBuffer buffer;
        std::string bytes(size_t(c.length), 'p');
        buffer.Append(bytes.data(), c.length);
        buffer.PadTo(c.multiple);
        ASSERT_EQ(buffer.GetLength(), c.padded);
        for (int i = c.length; i < c.padded; ++i) EXPECT_EQ(buffer.GetData()[i], 0);
    }
}

TEST(ByteBuffer, FormatIsBoundedAndAppended) {
    CByteBuffer buffer;
    buffer.AppendString("<");
    EXPECT_TRUE(buffer.AppendFormat("Connecting to %s : %d......", "host", 80));
    EXPECT_STREQ(buffer.GetString(), "<Connecting to host : 80......");

    CByteBuffer huge;
    std::string big(10000, 'q');
    EXPECT_TRUE(huge.AppendFormat("%s", big.c_str()));
    EXPECT_EQ(huge.GetLength(), CByteBuffer::kFormatLimit - 1);
}

TEST(ByteBuffer, AppendBufferCopiesOther) {
    CByteBuffer a, b;
    a.AppendString("one ");
    b.AppendString("two");
    a.AppendBuffer(b);
    EXPECT_STREQ(a.GetString(), "one two");
    CByteBuffer none;
    EXPECT_TRUE(a.AppendBuffer(none));
    EXPECT_EQ(a.GetLength(), 7);
}

TEST(ByteBuffer, AppendOfItsOwnBytesSurvivesGrowth) {
    // The source lies in the storage that growth replaces: the bytes must be read before the old
    // storage goes (ASan reports a use after free otherwise).
    struct Case {
        const char* what;
        int fill;      // bytes in the buffer before
        int from;      // where the appended part starts
        int count;     // bytes appended from there
        bool whole;    // AppendBuffer of itself
    } cases[] = {
        {"itself, at a block's end", 256, 0, 256, true},
        {"itself, growing by several blocks", 700, 0, 700, true},
        {"a tail, growing", 256, 200, 56, false},
        {"a middle part, growing", 250, 10, 100, false},
        {"a part, no growth", 10, 2, 5, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CByteBuffer buffer;
        std::string expected;
        for (int i = 0; i < c.fill; ++i) expected += char('a' + i % 26);
        ASSERT_TRUE(buffer.Append(expected.data(), c.fill));
        if (c.whole) {
            ASSERT_TRUE(buffer.AppendBuffer(buffer));
            expected += expected;
        } else {
            ASSERT_TRUE(buffer.Append(buffer.GetData() + c.from, c.count));
            expected += expected.substr(size_t(c.from), size_t(c.count));
        }
        ASSERT_EQ(buffer.GetLength(), int32_t(expected.size()));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.GetData()), expected.size()), expected);
        EXPECT_EQ(buffer.Capacity() % 256, 0);
    }
}

TEST(ByteBuffer, LoadFileDropsZeroBytes) {
    TempDir dir;
    const std::string path = dir.File("wide.txt");
    WriteRaw(path, std::string("a\0b\0", 4));
    CByteBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str()));
    EXPECT_EQ(buffer.GetLength(), 2);
    EXPECT_EQ(buffer.Capacity(), 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.GetData()), 2), "ab");
}

TEST(ByteBuffer, LoadFileKeepsContentOnEmptyOrMissingFile) {
    TempDir dir;
    const std::string empty = dir.File("empty.txt");
    WriteRaw(empty, "");
    CByteBuffer buffer;
    buffer.AppendString("kept");
    EXPECT_TRUE(buffer.LoadFile(empty.c_str()));
    EXPECT_STREQ(buffer.GetString(), "kept");
    EXPECT_FALSE(buffer.LoadFile(dir.File("missing.txt").c_str()));
    EXPECT_STREQ(buffer.GetString(), "kept");
}

TEST(ByteBuffer, SaveFileWritesExactBytes) {
    TempDir dir;
    const std::string path = dir.File("out.bin");
    CByteBuffer buffer;
    buffer.Append("x\0y", 3);
    ASSERT_TRUE(buffer.SaveFile(path.c_str()));
    std::ifstream in(path, std::ios::binary);
    std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(got, std::string("x\0y", 3));

    CByteBuffer empty;
    ASSERT_TRUE(empty.SaveFile(path.c_str()));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_FALSE(buffer.SaveFile(dir.File("no-such-folder/out.bin").c_str()));
}

TEST(ByteBuffer, ResetFreesStorage) {
    CByteBuffer buffer;
    buffer.AppendString("abc");
    buffer.Reset();
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.GetLength(), 0);
    EXPECT_EQ(buffer.Capacity(), 0);
    EXPECT_TRUE(buffer.IsEmpty());
}

}  // namespace
