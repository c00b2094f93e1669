#include "TextNumbers.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <string>

#include "DownHttpBase.h"

namespace {

TEST(ReadDigits, ReadsTheDigitsFromWhereItStandsAndSaturates) {
    struct Case {
        const char* text;
        size_t at;
        uint64_t limit;
        uint64_t value;
        size_t end;
    } cases[] = {
        {"8080/x", 0, INT_MAX, 8080, 4},
        {"host:554", 5, INT_MAX, 554, 8},
        {"x1", 0, INT_MAX, 0, 0},          // no digit where it stands
        {" 12", 0, INT_MAX, 0, 0},         // a blank is no digit
        {"-5", 0, INT_MAX, 0, 0},
        {"99999999999", 0, INT32_MAX, INT32_MAX, 11},  // every digit read, the value held at the limit
        {"4294967295", 0, UINT32_MAX, UINT32_MAX, 10},
        {"4294967296", 0, UINT32_MAX, UINT32_MAX, 10},
        {"12", 0, 5, 5, 2},
    };
    for (const auto& c : cases) {
        size_t at = c.at;
        EXPECT_EQ(ReadDigits(c.text, at, c.limit), c.value) << c.text;
        EXPECT_EQ(at, c.end) << c.text;
    }
}

TEST(LeadingDecimal, BlanksSignDigitsAndWhateverFollows) {
    struct Case {
        const char* text;
        bool found;
        int64_t value;
    } cases[] = {
        {"42", true, 42},
        {" \t-17\r", true, -17},  // a record line with its CR
        {"+8", true, 8},
        {"12abc", true, 12},
        {"-2147483648", true, INT32_MIN},
        {"99999999999", true, int64_t(1) << 32},  // beyond every 32-bit value, not wrapped
        {"-99999999999", true, -(int64_t(1) << 32)},
        {"", false, 0},
        {"  ", false, 0},
        {"-", false, 0},
        {"x5", false, 0},
        {"\r\n5", false, 0},  // only spaces and tabs lead
    };
    for (const auto& c : cases) {
        const auto value = LeadingDecimal(c.text);
        EXPECT_EQ(value.has_value(), c.found) << '[' << c.text << ']';
        if (value && c.found) {
            EXPECT_EQ(*value, c.value) << c.text;
        }
    }
}

TEST(ParseByteCount, DigitsWithinTheLimitAndNothingElse) {
    struct Case {
        const char* value;
        bool ok;
        uint64_t length;
    } cases[] = {
        {"0", true, 0},        {"229", true, 229},  {" 12 ", true, 12}, {"12\r\n", true, 12},
        {"300", true, 300},    {"301", false, 0},   {"", false, 0},     {"  ", false, 0},
        {"-1", false, 0},      {"+1", false, 0},    {"12a", false, 0},  {"1 2", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        uint64_t length = 7777;
        EXPECT_EQ(ParseByteCount(c.value, 300, &length), c.ok) << c.value;
        EXPECT_EQ(length, c.ok ? c.length : 7777) << c.value;
    }
}

// The HTTP reader's bound is its own: lengths below 2^62, so that a length and the part on disk
// added up stay far from wrapping.
TEST(ParseByteCount, HttpLengthsStayBelowTwoToTheSixtySecond) {
    int64_t length = 0;
    EXPECT_TRUE(CDownHttpBase::ParseLength("4611686018427387903", &length));
    EXPECT_EQ(length, (int64_t(1) << 62) - 1);
    EXPECT_FALSE(CDownHttpBase::ParseLength("4611686018427387904", &length));
    EXPECT_TRUE(CDownHttpBase::ParseLength("5000", &length));
    EXPECT_EQ(length, 5000);
}

TEST(HexDigitValue, EitherCase) {
    const std::string digits = "0123456789abcdef";
    for (size_t i = 0; i < digits.size(); ++i) {
        EXPECT_EQ(HexDigitValue(digits[i]), int(i)) << digits[i];
        EXPECT_EQ(HexDigitValue(char(std::toupper(digits[i]))), int(i)) << digits[i];
    }
    for (char c : {'g', 'G', ' ', '/', ':', '@', '`', '\0'}) EXPECT_EQ(HexDigitValue(c), -1) << int(c);
}

}  // namespace
