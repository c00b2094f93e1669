#include "PrjMng.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "TempDir.h"
#include "Watchdog.h"

namespace {

class PrjMngTest : public ::testing::Test {
protected:
    void SetUp() override { store->SetFile(ini.c_str()); }
    void WriteIni(const std::string& text) { std::ofstream(ini, std::ios::binary) << text; }

    TempDir dir;
    std::string ini = dir.File("config.ini");
    EnginePtr<CPrjMng> store{static_cast<CPrjMng*>(CreateEngineObject<CPrjMng>())};
};

TEST_F(PrjMngTest, MissingFileReadsAsDefaults) {
    EXPECT_EQ(store->ReadCount(), 0);
    EXPECT_EQ(store->ReadMaxThread(), 3);
    EXPECT_EQ(store->ReadTimeOut(), 30);
    EXPECT_FALSE(store->ReadDebug());
    DownItemRecord record;
    std::memset(&record, 'x', sizeof record);
    store->ReadItem(0, &record);
    EXPECT_STREQ(record.url, "");
    EXPECT_STREQ(record.destFile, "");
    EXPECT_EQ(record.state, 0);
}

TEST_F(PrjMngTest, ItemsRoundTrip) {
    DownItemRecord record{};
    std::strcpy(record.url, "http://a.example/x.asf");
    std::strcpy(record.destFile, "C:\\dl\\x.asf");
    record.state = DownStopped;
    EXPECT_TRUE(store->WriteItem(4, &record));
    EXPECT_TRUE(store->WriteCount(5));
    DownItemRecord back{};
    store->ReadItem(4, &back);
    EXPECT_STREQ(back.url, record.url);
    EXPECT_STREQ(back.destFile, record.destFile);
    EXPECT_EQ(back.state, DownStopped);
    EXPECT_EQ(store->ReadCount(), 5);
}

TEST_F(PrjMngTest, StoredPathLongerThanTheFieldIsCut) {
    const std::string longPath = "C:\\" + std::string(600, 'p');
    WriteIni("[0]\r\nURL=http://a.example/\r\nDestFileName=" + longPath + "\r\nState=4\r\n");
    DownItemRecord record{};
    store->ReadItem(0, &record);
    EXPECT_EQ(std::string(record.destFile), longPath.substr(0, kPathSize - 1));
    EXPECT_EQ(record.state, 4);
}

TEST_F(PrjMngTest, ClearItemsRemovesOnlyCountedSections) {
    WriteIni(
        "[Down]\r\nCount=3\r\nDebug=1\r\n"
        "[0]\r\nURL=u0\r\n[1]\r\nURL=u1\r\n[2]\r\nURL=u2\r\n[3]\r\nURL=u3\r\n[4]\r\nURL=u4\r\n"
        "[MaxThread]\r\nDefault=6\r\n");
    store->ClearItems();
    EXPECT_EQ(store->ReadCount(), 0);
    EXPECT_FALSE(store->ReadDebug());
    const char* expected[] = {"", "", "", "u3", "u4"};
    for (int i = 0; i < 5; ++i) {
        DownItemRecord record{};
        store->ReadItem(i, &record);
        EXPECT_STREQ(record.url, expected[i]) << i;
    }
    EXPECT_EQ(store->ReadMaxThread(), 6);
}

TEST_F(PrjMngTest, ProxyEnableUsesOnlyTheLowByte) {
    struct Case {
        int32_t enable;
        uint8_t stored;
    } cases[] = {{1, 1}, {0, 0}, {256, 0}, {257, 1}, {-1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.enable);
        store->WriteProxy("proxy.example", "3128", c.enable);
        char server[kUrlSize], port[10];
        uint8_t enabled = 9;
        EXPECT_EQ(store->ReadProxy(server, port, &enabled), c.stored != 0);
        EXPECT_EQ(enabled, c.stored);
        EXPECT_STREQ(server, "proxy.example");
        EXPECT_STREQ(port, "3128");
    }
}

TEST_F(PrjMngTest, ProxyFieldsAreBounded) {
    const std::string server(2000, 's');
    store->WriteProxy(server.c_str(), "123456789012", 1);
    char serverOut[kUrlSize], port[10];
    uint8_t enabled;
    store->ReadProxy(serverOut, port, &enabled);
    EXPECT_EQ(std::string(serverOut), server.substr(0, kUrlSize - 1));
    EXPECT_STREQ(port, "123456789");
}

TEST_F(PrjMngTest, AnyDebugTextCountsAsSet) {
    struct Case {
        const char* text;
        bool set;
    } cases[] = {{"[Down]\r\nDebug=0\r\n", true}, {"[Down]\r\nDebug=1\r\n", true},
                 {"[Down]\r\nDebug=\r\n", false}, {"[Down]\r\nCount=1\r\n", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteIni(c.text);
        EXPECT_EQ(store->ReadDebug(), c.set);
    }
    WriteIni("");
    store->WriteDebug();
    EXPECT_TRUE(store->ReadDebug());
}

TEST_F(PrjMngTest, DestPathMustBeAnExistingFolder) {
    char out[kPathSize] = "junk";
    EXPECT_FALSE(store->ReadDestPath(out));
    EXPECT_STREQ(out, "");
    store->WriteDestPath(dir.Dir().c_str());
    ASSERT_TRUE(store->ReadDestPath(out));
    EXPECT_EQ(std::string(out), dir.Dir());
    store->WriteDestPath(dir.File("absent").c_str());
    std::strcpy(out, "junk");
    EXPECT_FALSE(store->ReadDestPath(out));
    EXPECT_STREQ(out, "");
}

TEST_F(PrjMngTest, NumbersRoundTripIncludingNegative) {
    store->WriteMaxThread(12);
    store->WriteTimeOut(-5);
    EXPECT_EQ(store->ReadMaxThread(), 12);
    std::ifstream in(ini, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Default=-5"), std::string::npos);
    EXPECT_EQ(store->ReadTimeOut(), 30);  // written as given, but no usable time-out
}

TEST_F(PrjMngTest, SettingsOutOfRangeReadAsDefaults) {
    struct Case {
        const char* text;
        int32_t maxThread, timeOut;
    };
    const Case cases[] = {
        {"0", 3, 30},
        {"-4", 3, 30},
        {"1", 1, 1},
        {" 8 ", 8, 8},
        {"86400", 86400, 86400},
        {"2147483647", 2147483647, 2147483647},
        {"2147483648", 3, 30},
        {"9999999999", 3, 30},  // ten digits: the plain integer reader wraps this to 1410065407
        {"4294967297", 3, 30},  // wraps to 1
        {"4294967306", 3, 30},  // wraps to 10
        {"abc", 3, 30},
        {"", 3, 30},
    };
    for (const auto& c : cases) {
        WriteIni(std::string("[MaxThread]\r\nDefault=") + c.text + "\r\n[TimeOut]\r\nDefault=" + c.text + "\r\n");
        EXPECT_EQ(store->ReadMaxThread(), c.maxThread) << c.text;
        EXPECT_EQ(store->ReadTimeOut(), c.timeOut) << c.text;
    }
}

TEST_F(PrjMngTest, ClearingIsBoundedByTheSectionsThere) {
    // A damaged Count must not make the clearing walk two billion sections that are not there.
    WriteIni("[Down]\r\nCount=2000000000\r\n[0]\r\nURL=u0\r\n[1]\r\nURL=u1\r\n[MaxThread]\r\nDefault=6\r\n");
    ASSERT_TRUE(FinishesWithin(std::chrono::seconds(60), [&] { store->ClearItems(); }));
    EXPECT_EQ(store->ReadCount(), 0);
    for (int i = 0; i < 2; ++i) {
        DownItemRecord record{};
        store->ReadItem(i, &record);
        EXPECT_STREQ(record.url, "") << i;
    }
    EXPECT_EQ(store->ReadMaxThread(), 6);
}

}  // namespace
