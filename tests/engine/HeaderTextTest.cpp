#include "HeaderText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

const std::string kReplyHead =
    "HTTP/1.1 200 OK\r\n"
    "Content-Type: video/x-ms-asf\r\n"
    "Content-Length:   1234  \r\n"
    "Pragma: no-cache\r\n"
    "Pragma: features=\"seekable,stridable\"\r\n"
    "\r\n";

TEST(GetHeaderValue, ReturnsTrimmedValueAndPositionAfterKey) {
    int pos = 0;
    EXPECT_EQ(GetHeaderValue(kReplyHead, "Content-Length:", &pos, "\r\n"), "1234");
    EXPECT_EQ(pos, static_cast<int>(kReplyHead.find("Content-Length:") + 15));
    EXPECT_EQ(GetHeaderValue(kReplyHead, "Content-Type:", nullptr, "\r\n"), "video/x-ms-asf");
    EXPECT_EQ(GetHeaderValue(kReplyHead, "Content-Type:", nullptr, "/"), "video");
}

TEST(GetHeaderValue, CarriedPositionFindsTheNextOccurrence) {
    int pos = 0;
    EXPECT_EQ(GetHeaderValue(kReplyHead, "Pragma:", &pos, "\r\n"), "no-cache");
    EXPECT_EQ(GetHeaderValue(kReplyHead, "Pragma:", &pos, "\r\n"),
              "features=\"seekable,stridable\"");
    int afterSecond = pos;
    EXPECT_EQ(GetHeaderValue(kReplyHead, "Pragma:", &pos, "\r\n"), "");
    EXPECT_EQ(pos, afterSecond);
}

TEST(GetHeaderValue, IsCaseSensitiveAndLeavesPositionWhenNotFound) {
    int pos = 3;
    EXPECT_EQ(GetHeaderValue(kReplyHead, "content-length:", &pos, "\r\n"), "");
    EXPECT_EQ(pos, 3);
}

TEST(GetHeaderValue, ValueRunsToTheEndWithoutTerminator) {
    EXPECT_EQ(GetHeaderValue("a=control: rtsp://h/x ", "a=control:", nullptr, "\r\n"),
              "rtsp://h/x");
    EXPECT_EQ(GetHeaderValue("key:", "key:", nullptr, "\r\n"), "");
}

TEST(GetHeaderValue, PositionOutsideTheTextFindsNothing) {
    const std::string text = "Key: v";
    for (int start : {-1, -2, INT_MIN, 7, 1000, INT_MAX}) {
        SCOPED_TRACE(start);
        int pos = start;
        EXPECT_EQ(GetHeaderValue(text, "Key:", &pos, "\r\n"), "");
        EXPECT_EQ(pos, start);
    }
}

TEST(FindHeaderField, MatchesIgnoringCaseAndIgnoredCharacters) {
    const std::string head = "RTSP/1.0 200 OK\r\nCSeq: 3\r\nsession : 12345;timeout=60\r\n\r\n";
    int pos = 0;
    EXPECT_EQ(FindHeaderField(head, "Session:", &pos, ";\r\n", " "), "12345");
    EXPECT_EQ(pos, static_cast<int>(head.find("session :") + 9));
    EXPECT_EQ(FindHeaderField(head, "Session:", nullptr, ";\r\n", " "), "12345");
    EXPECT_EQ(FindHeaderField(head, "C Seq :", nullptr, "\r\n", " "), "3");
}

TEST(FindHeaderField, KeepsIgnoredCharactersInTheValue) {
    EXPECT_EQ(FindHeaderField("Title: A Long Name \r\n", "title:", nullptr, "\r\n", " "),
              "A Long Name");
    EXPECT_EQ(FindHeaderField("ref href = 'x y.asf'>", "href=", nullptr, "\r\n>", " "),
              "'x y.asf'");
}

TEST(FindHeaderField, MatchesInsideAnotherWord) {
    EXPECT_EQ(FindHeaderField("X-Content-Length: 5\r\nContent-Length: 9\r\n", "Content-Length:",
                              nullptr, "\r\n", " "),
              "5");
}

TEST(FindHeaderField, CarriedPositionWalksEveryMatchThenGivesMinusOne) {
    const std::string sdp = "m=audio 0\r\na=x\r\nM=video 0\r\nm = data 0\r\n";
    std::vector<std::string> values;
    int pos = 0;
    for (;;) {
        std::string value = FindHeaderField(sdp, "m=", &pos, "\r\n", " ");
        if (pos == -1) break;
        values.push_back(value);
        ASSERT_LT(values.size(), 10u);
    }
    EXPECT_EQ(values, (std::vector<std::string>{"audio 0", "video 0", "data 0"}));
}

TEST(FindHeaderField, NoMatchSetsMinusOneButOverlongKeyLeavesPosition) {
    struct Case {
        const char* text;
        const char* key;
        int start;
        int posAfter;
    };
    const Case cases[] = {
        {"Content-Type: x\r\n", "Session:", 0, -1},
        // Key longer than the rest of the text by one: searched, nothing found.
        {"abcd", "abcde", 0, -1},
        // By two or more: given up before searching.
        {"abcd", "abcdef", 0, 0},
        {"xxabcd", "abcdef", 2, 2},
        {"xxabcd", "abcd", 3, -1},
        // The ignored characters do not count toward the length.
        {"a b c d", "abcde", 0, -1},
        {"a b c d", "a b c d e f", 0, 0},
        {"", "a", 0, -1},
        {"", "ab", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.key);
        int pos = c.start;
        EXPECT_EQ(FindHeaderField(c.text, c.key, &pos, "\r\n", " "), "");
        EXPECT_EQ(pos, c.posAfter);
    }
}

TEST(FindHeaderField, SearchStartsAtTheGivenPosition) {
    const std::string text = "a=1;a=2;a=3";
    int pos = 4;
    EXPECT_EQ(FindHeaderField(text, "A=", &pos, ";", ""), "2");
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(FindHeaderField(text, "a=", &pos, ";", ""), "3");
    EXPECT_EQ(pos, 10);
    int atEnd = static_cast<int>(text.size());
    EXPECT_EQ(FindHeaderField(text, "a", &atEnd, ";", ""), "");
    EXPECT_EQ(atEnd, -1);
}

TEST(FindHeaderField, PositionOutsideTheTextOrEmptyKeyIsNoMatch) {
    const std::string text = "Session: 1";
    for (int start : {-1, -5, INT_MIN, 11, 500, INT_MAX}) {
        SCOPED_TRACE(start);
        int pos = start;
        EXPECT_EQ(FindHeaderField(text, "Session:", &pos, "\r\n", " "), "");
        EXPECT_EQ(pos, -1);
    }
    int pos = 0;
    EXPECT_EQ(FindHeaderField(text, "   ", &pos, "\r\n", " "), "");
    EXPECT_EQ(pos, -1);
}

}  // namespace
