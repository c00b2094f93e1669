// One table for both builds: the Windows build runs it against the real profile calls (under Wine),
// the native build against our own reader and writer, so the first keeps the second honest.
// Files are laid down as raw bytes to check the reader; after writes, raw bytes are compared only
// where both layouts must match, otherwise the result is read back through the calls.
#include "sys/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"

namespace {

struct Call {
    enum Kind { kGetString, kGetInt, kWrite, kReplaceFile };
    Kind kind = kGetString;
    const char* section = nullptr;
    const char* key = nullptr;
    const char* text = nullptr;  // the default, the value written, or the new file bytes
    size_t size = 0;             // buffer size for kGetString
    int number = 0;              // default for kGetInt
    std::string expect;          // kGetString
    int expectNumber = 0;        // kGetInt
    bool expectOk = true;        // kWrite
};

Call Get(const char* section, const char* key, const char* def, std::string expect, size_t size = 260) {
    Call call;
    call.section = section;
    call.key = key;
    call.text = def;
    call.size = size;
    call.expect = std::move(expect);
    return call;
}

Call GetInt(const char* section, const char* key, int def, int expect) {
    Call call;
    call.kind = Call::kGetInt;
    call.section = section;
    call.key = key;
    call.number = def;
    call.expectNumber = expect;
    return call;
}

Call Write(const char* section, const char* key, const char* value, bool ok = true) {
    Call call;
    call.kind = Call::kWrite;
    call.section = section;
    call.key = key;
    call.text = value;
    call.expectOk = ok;
    return call;
}

// Changes the file behind the calls' back, to show that nothing is remembered between calls.
Call ReplaceFile(const char* bytes) {
    Call call;
    call.kind = Call::kReplaceFile;
    call.text = bytes;
    return call;
}

struct FileBytes {
    bool present;
    std::string bytes;
};
FileBytes Bytes(std::string bytes) { return FileBytes{true, std::move(bytes)}; }
const FileBytes kNoFile{false, ""};

struct Case {
    Case(const char* name, std::optional<std::string> before, std::vector<Call> calls,
         std::optional<FileBytes> after = std::nullopt, const char* where = "config.ini")
        : name(name), before(std::move(before)), calls(std::move(calls)), after(std::move(after)),
          where(where) {}

    const char* name;
    std::optional<std::string> before;  // none: there is no file at the start
    std::vector<Call> calls;
    std::optional<FileBytes> after;     // none: the bytes are not compared
    const char* where;                  // inside a fresh folder that holds an empty "sub"; '\' separates
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const int kMinInt = std::numeric_limits<int>::min();
// UTF-8 for "Téléchargé": bytes above 127 that read the same under any Windows code page.
const char kAccented[] = "C:\\dl\\T\xC3\xA9l\xC3\xA9" "charg\xC3\xA9.zip";

const std::vector<Case> kCases = {
    // Reading files laid down byte for byte.
    {"NamesIgnoreCase",
     "[Down]\r\nCount=3\r\n",
     {Get("DOWN", "count", "x", "3"), Get("down", "COUNT", "x", "3"), GetInt("dOwN", "cOuNt", -1, 3)}},
    {"BlanksAroundNamesAndValuesAreIgnored",
     "  [ Proxy ]  \r\n  server =  host.example  \r\n\tport\t=\t8080\t\r\n\vkz\x1a=\x1a" "1\x1a\r\n",
     {Get("Proxy", "server", "", "host.example"), Get("Proxy", "port", "", "8080"),
      GetInt("Proxy", "port", 0, 8080), Get(" proxy\t", "\tSERVER ", "", "host.example"),
      Get("proxy", "kz", "", "1")}},
    {"MissingFileGivesDefaults",
     std::nullopt,
     {Get("Down", "Count", "none", "none"), Get("Down", "Count", nullptr, ""),
      GetInt("Down", "Count", 33, 33), GetInt("Down", "Count", -7, -7)},
     kNoFile},
    {"MissingSectionOrKeyGivesDefaults",
     "[a]\r\nk=1\r\n",
     {Get("b", "k", "d", "d"), Get("a", "j", "d", "d"), GetInt("b", "k", 5, 5), GetInt("a", "j", -5, -5)}},
    {"LineWithoutEqualsReadsAsMissing",
     "[a]\r\nflag\r\nempty=\r\nblank=   \r\n",
     {Get("a", "flag", "d", "d"), Get("a", "empty", "d", ""), Get("a", "blank", "d", ""),
      GetInt("a", "flag", 7, 7), GetInt("a", "empty", 7, 7), GetInt("a", "blank", 7, 7)}},
    {"FirstOfDuplicateNamesWins",
     "[a]\r\nk=first\r\nK=second\r\nflag\r\nflag=set\r\n[A]\r\nk=third\r\nj=only-in-second\r\n",
     {Get("a", "k", "d", "first"), Get("a", "j", "d", "d"), Get("a", "flag", "d", "d")}},
    {"LinesAboveTheFirstHeaderBelongToNoSection",
     "top=1\r\n[a]\r\nk=2\r\n",
     {Get("a", "top", "d", "d"), Get("", "top", "d", "1"), Get("a", "k", "d", "2")}},
    {"ValueKeepsEqualsSignsAndSemicolons",
     "[0]\r\nURL=http://a.example/get?x=1&y=2 ; not a comment\r\nk==v\r\n",
     {Get("0", "URL", "", "http://a.example/get?x=1&y=2 ; not a comment"), Get("0", "k", "", "=v")}},
    {"OnePairOfMatchingQuotesIsDropped",
     "[a]\r\nd=\"C:\\dl\\x y\"\r\ns='single'\r\np=  \" padded \"  \r\nopen=\"abc\r\nclose=abc\"\r\n"
     "mid=a\"b\"c\r\nmixed=\"abc'\r\ntwice=\"\"x\"\"\r\nempty=\"\"\r\none=\"\r\n",
     {Get("a", "d", "", "C:\\dl\\x y"), Get("a", "s", "", "single"), Get("a", "p", "", " padded "),
      Get("a", "open", "", "\"abc"), Get("a", "close", "", "abc\""), Get("a", "mid", "", "a\"b\"c"),
      Get("a", "mixed", "", "\"abc'"), Get("a", "twice", "", "\"x\""), Get("a", "empty", "d", ""),
      Get("a", "one", "", "\"")}},
    {"ValueIsCutToTheBuffer",
     "[a]\r\nk=abcdefghij\r\n",
     {Get("a", "k", "", "", 1), Get("a", "k", "", "a", 2), Get("a", "k", "", "abcdefghi", 10),
      Get("a", "k", "", "abcdefghij", 11), Get("a", "k", "", "abcdefghij", 12), Get("a", "k", "", "", 0),
      Get("a", "missing", "abcdef", "abc", 4)}},
    {"QuotedValueThatJustFillsTheBufferLosesOneMore",
     "[a]\r\nq=\"abcdef\"\r\n",
     {Get("a", "q", "", "abcd", 5), Get("a", "q", "", "abcde", 6), Get("a", "q", "", "abcde", 7),
      Get("a", "q", "", "abcdef", 8), Get("a", "missing", "'abcdef'", "abcde", 7),
      Get("a", "missing", "'abcdef'", "abcdef", 8)}},
    {"DefaultLosesTrailingSpacesAndQuotes",
     "[a]\r\n",
     {Get("a", "k", "  d  ", "  d"), Get("a", "k", "d\t", "d\t"), Get("a", "k", "\"q\"", "q"),
      Get("a", "k", "\"  q  \"", "  q  "), Get("a", "k", "  \"q\"  ", "  \"q\""), Get("a", "k", "'x", "'x")}},
    {"CommentLinesNeitherHideNorShadowKeys",
     "[a]\r\n;k=commented\r\nk=real\r\n;only=1\r\n  ;lead=1\r\n;[b]\r\nj=2\r\n",
     {Get("a", "k", "d", "real"), Get("a", "only", "d", "d"), Get("a", "lead", "d", "d"),
      Get("b", "j", "d", "d"), Get("a", "j", "d", "2")}},
    {"LfLineEndings",
     "[a]\nk=1\n\n[b]\nk=2\n",
     {Get("a", "k", "d", "1"), Get("b", "k", "d", "2")}},
    {"CrLineEndingsAndNoFinalLineEnd",
     "[a]\rk=1\r[b]\r\n\r\rk=2\r\r\nj=3",
     {Get("a", "k", "d", "1"), Get("b", "k", "d", "2"), Get("b", "j", "d", "3")}},
    {"BlankLinesAnywhere",
     "\r\n\r\n  \r\n[a]\r\n\r\n\t\r\nk=1\r\n\r\n[b]\r\n\r\nk=2\r\n\r\n",
     {Get("a", "k", "d", "1"), Get("b", "k", "d", "2")}},
    {"HeaderEndsAtItsLastBracket",
     "[Trail] junk\r\nk=1\r\n[Open\r\nj=2\r\n[a]b]\r\nk=3\r\n",
     {Get("trail", "k", "d", "1"), Get("trail", "j", "d", "2"), Get("open", "j", "d", "d"),
      Get("a]b", "k", "d", "3"), Get("a", "k", "d", "d")}},
    {"Utf8MarkAtTheStartIsSkipped",
     "\xEF\xBB\xBF[a]\r\nk=1\r\n",
     {Get("a", "k", "d", "1")}},
    {"BytesAboveAsciiPassThrough",
     std::string("[0]\r\nDestFileName=") + kAccented + "\r\n",
     {Get("0", "DestFileName", "", kAccented)}},
    {"EmptyFile", "", {Get("a", "k", "d", "d"), GetInt("a", "k", 4, 4)}},

    // Numbers: leading digits count, overflow wraps, and only an empty or missing value gives the default.
    {"Numbers",
     "[n]\r\ndec=42\r\nneg=-17\r\nplus=+5\r\nlead=12abc\r\nword=abc\r\nhex=0x1F\r\nnegHex=-0x10\r\n"
     "bigX=0X1f\r\nhexJunk=0xfg\r\nzeroLead=010\r\nfrac=3.9\r\nexp=1e3\r\ntwo=5 6\r\nsign=-\r\n"
     "gap=- 5\r\ndouble=--3\r\nquoted=\"7\"\r\ninner=\" \t9 \"\r\nhalfQuote=\"12\r\nmin=-2147483648\r\n"
     "over=2147483648\r\nallOnes=4294967295\r\nwrap=4294967296\r\nbig=99999999999\r\n"
     "hexWrap=0x123456789\r\nemptyQuotes=\"\"\r\n",
     {GetInt("n", "dec", -1, 42), GetInt("n", "neg", -1, -17), GetInt("n", "plus", -1, 5),
      GetInt("n", "lead", -1, 12), GetInt("n", "word", -1, 0), GetInt("n", "hex", -1, 31),
      GetInt("n", "negHex", -1, -16), GetInt("n", "bigX", -1, 0), GetInt("n", "hexJunk", -1, 15),
      GetInt("n", "zeroLead", -1, 10), GetInt("n", "frac", -1, 3), GetInt("n", "exp", -1, 1),
      GetInt("n", "two", -1, 5), GetInt("n", "sign", -1, 0), GetInt("n", "gap", -1, 0),
      GetInt("n", "double", -1, 0), GetInt("n", "quoted", -1, 7), GetInt("n", "inner", -1, 9),
      GetInt("n", "halfQuote", -1, 0), GetInt("n", "min", -1, kMinInt), GetInt("n", "over", -1, kMinInt),
      GetInt("n", "allOnes", 5, -1), GetInt("n", "wrap", -1, 0), GetInt("n", "big", -1, 1215752191),
      GetInt("n", "hexWrap", -1, 0x23456789), GetInt("n", "emptyQuotes", -1, -1)}},
    {"NumberIsReadFromItsFirst29Characters",
     "[n]\r\nz29=" + std::string(28, '0') + "5\r\nz30=" + std::string(29, '0') + "5\r\nn29=-" +
         std::string(27, '0') + "5\r\nq28=\"" + std::string(27, '0') + "5\"\r\nq29=\"" +
         std::string(28, '0') + "5\"\r\n",
     {GetInt("n", "z29", -1, 5), GetInt("n", "z30", -1, 0), GetInt("n", "n29", -1, -5),
      GetInt("n", "q28", -1, 5), GetInt("n", "q29", -1, 0)}},

    // Writing.
    {"FirstWriteCreatesTheFile",
     std::nullopt,
     {Write("Down", "Count", "3"), GetInt("Down", "Count", 0, 3)},
     Bytes("[Down]\r\nCount=3\r\n")},
    {"SavingAnItemAppendsItsSectionWithoutABlankLine",
     std::nullopt,
     {Write("Down", "Count", "1"), Write("0", "URL", "http://a.example/get?x=1"),
      Write("0", "DestFileName", "C:\\dl\\x y.asf"), Write("0", "State", "4")},
     Bytes("[Down]\r\nCount=1\r\n[0]\r\nURL=http://a.example/get?x=1\r\nDestFileName=C:\\dl\\x y.asf\r\n"
           "State=4\r\n")},
    {"NewKeyGoesToTheEndOfItsSection",
     "[Down]\r\nCount=3\r\n;note\r\n\r\n[0]\r\nURL=u\r\n",
     {Write("down", "Debug", "1"), Get("Down", "Debug", "", "1")},
     Bytes("[Down]\r\nCount=3\r\n;note\r\nDebug=1\r\n[0]\r\nURL=u\r\n")},
    {"ReplacingKeepsTheStoredNamesAndPlace",
     "[Down]\r\nCount=3\r\nDebug=1\r\n",
     {Write("DOWN", "count", "4"), GetInt("Down", "Count", 0, 4)},
     Bytes("[Down]\r\nCount=4\r\nDebug=1\r\n")},
    {"ReplacingTheFirstOfDuplicates",
     "[a]\r\nk\r\nk=1\r\n",
     {Write("a", "k", "5"), Get("a", "k", "", "5")},
     Bytes("[a]\r\nk=5\r\nk=1\r\n")},
    {"DeletingKeysLeavesAnEmptyHeader",
     "[Down]\r\nCount=1\r\n[0]\r\nURL=u\r\nState=4\r\n",
     {Write("0", "URL", nullptr), Get("0", "URL", "gone", "gone"), Write("0", "state", nullptr)},
     Bytes("[Down]\r\nCount=1\r\n[0]\r\n")},
    {"ClearingItemsDeletesWholeSections",
     "[Down]\r\nCount=2\r\nDebug=1\r\n[0]\r\nURL=a\r\n[Proxy]\r\nport=80\r\n[1]\r\nURL=b\r\n",
     {Write("Down", nullptr, nullptr), Write("0", nullptr, nullptr), Write("1", nullptr, nullptr),
      Get("0", "URL", "gone", "gone"), GetInt("Down", "Count", 9, 9), Get("Proxy", "port", "", "80")},
     Bytes("[Proxy]\r\nport=80\r\n")},
    {"DeletingEverythingLeavesAnEmptyFile",
     "[0]\r\nURL=a\r\n",
     {Write("0", nullptr, nullptr)},
     Bytes("")},
    {"DeletingTheFirstOfDuplicateSections",
     "[a]\r\nk=1\r\n[A]\r\nk=2\r\n",
     {Write("a", nullptr, nullptr), Get("a", "k", "", "2")},
     Bytes("[A]\r\nk=2\r\n")},
    {"DeletingWhatIsMissingLeavesTheFileAlone",
     "[a]\nk=1\n",
     {Write("b", nullptr, nullptr), Write("a", "j", nullptr), Write("b", "k", nullptr)},
     Bytes("[a]\nk=1\n")},
    {"DeletingFromAMissingFileCreatesNothing",
     std::nullopt,
     {Write("a", nullptr, nullptr), Write("a", "k", nullptr)},
     kNoFile},
    {"DeletingMatchesTheNameAsGiven",
     "[a]\nk=1\n",
     {Write(" a", nullptr, nullptr), Write("\ta", "k", nullptr), Write("a", " k", nullptr),
      Write("a", "k\t", nullptr)},
     Bytes("[a]\nk=1\n")},
    {"WritingTheStoredValueLeavesTheFileAlone",
     "[a]\nk = v\ne =\n",
     {Write("A", "K", "v"), Write("a", "k", "  v"), Write("a", "e", "")},
     Bytes("[a]\nk = v\ne =\n")},
    {"EmptyValueIsKeptAsEmpty",
     "[Proxy]\r\nserver=h\r\nport=80\r\n",
     {Write("Proxy", "server", ""), Get("Proxy", "server", "d", "")},
     Bytes("[Proxy]\r\nserver=\r\nport=80\r\n")},
    {"SavingAnEmptyProxy",
     std::nullopt,
     {Write("Proxy", "server", ""), Write("Proxy", "port", ""), Write("Proxy", "enable", "0"),
      Write("Proxy", "server", ""), Get("Proxy", "server", "d", ""), GetInt("Proxy", "enable", 1, 0)},
     Bytes("[Proxy]\r\nserver=\r\nport=\r\nenable=0\r\n")},
    {"BlankValueIsKeptAsEmpty",
     "[a]\r\nk=v\r\n",
     {Write("a", "k", "   "), Get("a", "k", "d", "")},
     Bytes("[a]\r\nk=\r\n")},
    {"RewriteTidiesTheWholeFileWithCrlf",
     "; head\nloose = 1\n\n  [ A ]  \n  k1 =  v1  \n;  spaced note \n; w = 4\n\nnoeq\n[Open\n  \n"
     "[B]\rx=\"q\"\r\r[T] junk\n",
     {Write("b", "y", "2")},
     Bytes("; head\r\nloose=1\r\n[A]\r\nk1=v1\r\n;  spaced note\r\n; w=4\r\nnoeq\r\n[Open\r\n"
           "[B]\r\nx=\"q\"\r\ny=2\r\n[T]\r\n")},
    {"Utf8MarkIsKeptOnRewrite",
     "\xEF\xBB\xBF[a]\r\nk=1\r\n",
     {Write("a", "j", "2")},
     Bytes("\xEF\xBB\xBF[a]\r\nk=1\r\nj=2\r\n")},
    {"ValuesAreStoredAsGiven",
     std::nullopt,
     {Write("0", "URL", "\"quoted\""), Write("0", "DestFileName", kAccented), Get("0", "URL", "", "quoted"),
      Get("0", "DestFileName", "", kAccented)},
     Bytes(std::string("[0]\r\nURL=\"quoted\"\r\nDestFileName=") + kAccented + "\r\n")},
    {"BlanksAroundWrittenNamesAndValuesReadBackTrimmed",
     std::nullopt,
     {Write(" New ", "\tk ", "  spaced  "), Get("new", "k", "d", "spaced"), Write("new", "k", "x"),
      Get("NEW", "K", "d", "x"), Write("\tnew\t", " j", "y"), Get("new", "j", "d", "y")}},
    {"WritingFindsTheSectionDespiteBlanks",
     "[a]\r\nk=1\r\n",
     {Write("\ta\t", " k\t", "2")},
     Bytes("[a]\r\nk=2\r\n")},
    {"KeysAboveTheFirstHeaderStayOnTop",
     "[a]\r\nk=1\r\n",
     {Write("", "top", "1"), Get("", "top", "", "1"), Get("a", "top", "d", "d")},
     Bytes("top=1\r\n[a]\r\nk=1\r\n")},
    {"NullSectionIsRefused",
     std::nullopt,
     {Write(nullptr, "k", "v", false), Write(nullptr, nullptr, nullptr, false)},
     kNoFile},
    {"WriteIntoAMissingFolderFails",
     std::nullopt,
     {Write("a", "k", "v", false), Get("a", "k", "d", "d")},
     kNoFile,
     "absent\\config.ini"},
    {"BackslashSeparatesFolders",
     std::nullopt,
     {Write("a", "k", "v"), Get("a", "k", "d", "v")},
     Bytes("[a]\r\nk=v\r\n"),
     "sub\\config.ini"},
    {"EveryCallRereadsTheFile",
     "[a]\r\nk=1\r\n",
     {Get("a", "k", "", "1"), ReplaceFile("[a]\r\nk=22\r\n"), Get("a", "k", "", "22"),
      ReplaceFile("[a]\r\nk=333\r\nj=1\r\n"), Write("a", "x", "0"), GetInt("a", "k", 0, 333)},
     Bytes("[a]\r\nk=333\r\nj=1\r\nx=0\r\n")},
};

std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class ProfileTest : public ::testing::TestWithParam<Case> {};

TEST_P(ProfileTest, BehavesLikeTheWindowsBuild) {
    const Case& c = GetParam();
    TempDir dir;  // a fresh folder per case, so no state carries over between cases
    std::filesystem::create_directory(dir.File("sub"));
    const std::string path = dir.Dir() + c.where;  // as the engine spells it
    std::string slashed = c.where;
    for (char& ch : slashed) {
        if (ch == '\\') ch = '/';
    }
    const std::string raw = dir.File(slashed);  // for this test's own file access
    if (c.before) WriteBytes(raw, *c.before);

    for (size_t i = 0; i < c.calls.size(); ++i) {
        const Call& call = c.calls[i];
        SCOPED_TRACE("call " + std::to_string(i));
        switch (call.kind) {
            case Call::kGetString:
                EXPECT_EQ(sys::ProfileGetString(path, call.section, call.key, call.text, call.size),
                          call.expect);
                break;
            case Call::kGetInt:
                EXPECT_EQ(sys::ProfileGetInt(path, call.section, call.key, call.number), call.expectNumber);
                break;
            case Call::kWrite:
                EXPECT_EQ(sys::ProfileWriteString(path, call.section, call.key, call.text), call.expectOk);
                break;
            case Call::kReplaceFile:
                WriteBytes(raw, call.text);
                break;
        }
    }

    if (c.after) {
        const std::optional<std::string> bytes = ReadBytes(raw);
        ASSERT_EQ(bytes.has_value(), c.after->present);
        if (bytes) {
            EXPECT_EQ(*bytes, c.after->bytes);
        }
    }
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Table, ProfileTest, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
