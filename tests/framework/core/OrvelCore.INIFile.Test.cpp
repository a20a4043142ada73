#include "framework/core/OrvelCore.INIFile.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "platform/sim/Sim.FileSystem.h"
#include "tests/Test.Support.h"
#include "tests/framework/core/OrvelCore.IniTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace orvel {
namespace {

using namespace std::string_literals;

using platform::sim::TSimFileSystem;

const std::u16string Folder = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin";
const std::u16string IniPath = Folder + u"\\Tarvin.ini";

class IniFileTest : public ::testing::Test {
protected:
    IniFileTest() { Files.AddFolder(Folder); }

    // Puts `text` into the file and reads `Ident` of section "S" through the long read.
    std::u16string ReadBack(const std::string& text, const std::u16string& Ident = u"k") {
        Files.AddFile(IniPath, text);
        TIniFileEx ini(u"S", IniPath, Files);
        return ini.ReadString(u"S", Ident, u"<default>");
    }

    std::string FileText() const { return Files.Contents(IniPath).value_or("<no file>"); }

    TSimFileSystem Files;
};

// --- construction ---

TEST_F(IniFileTest, ConstructorCreatesTheMissingFolderTreeBeforeAnyWrite) {
    const std::u16string path = u"C:\\Users\\dev\\AppData\\Roaming\\New\\Deeper\\App.ini";
    TIniFileEx ini(u"S", path, Files);
    EXPECT_TRUE(Files.FolderExists(u"C:\\Users\\dev\\AppData\\Roaming\\New\\Deeper", false));
    EXPECT_FALSE(Files.FileExists(path));
    EXPECT_EQ(Files.WriteCount(), 0u);
    EXPECT_EQ(ini.FileName(), path);
    EXPECT_EQ(ini.Section(), u"S");
}

TEST_F(IniFileTest, ConstructorLeavesFoldersAloneWhenTheNameHasNoUsableFolder) {
    for (const std::u16string name : {u"", u"Tarvin.ini", u"C:\\Bad*Folder\\Tarvin.ini"}) {
        SCOPED_TRACE(base::Utf16ToUtf8(name));
        EXPECT_NO_THROW(TIniFileEx(u"S", name, Files));
        EXPECT_FALSE(Files.FolderExists(u"C:\\Bad*Folder", false));
    }
}

TEST_F(IniFileTest, ConstructorRaisesWhenTheFolderCannotBeCreated) {
    Files.DenyWritesUnder(u"C:\\Locked");
    Files.AddFolder(u"C:\\Locked");
    for (const std::u16string path : {u"C:\\Locked\\Sub\\App.ini", u"Q:\\NoDrive\\App.ini"}) {
        SCOPED_TRACE(base::Utf16ToUtf8(path));
        EXPECT_THROW(TIniFileEx(u"S", path, Files), EOrvelException);
    }
    EXPECT_FALSE(Files.FolderExists(u"C:\\Locked\\Sub", false));
}

// --- reading ---

TEST_F(IniFileTest, MissingFileGivesEveryDefaultAndCreatesNothing) {
    TIniFileEx ini(u"S", IniPath, Files);
    EXPECT_EQ(ini.Read(u"k", u"text"), u"text");
    EXPECT_EQ(ini.ReadString(u"S", u"k", u"long"), u"long");
    EXPECT_EQ(ini.Read(u"k", std::int32_t{42}), 42);
    EXPECT_TRUE(ini.Read(u"k", true));
    EXPECT_FALSE(ini.Read(u"k", false));
    EXPECT_EQ(ini.Read(u"k", 2.5), 2.5);
    EXPECT_EQ(ini.ReadDate(u"k", 100.0), 100.0);
    EXPECT_FALSE(ini.ValueExists(u"k"));
    EXPECT_FALSE(Files.FileExists(IniPath));
}

TEST_F(IniFileTest, EveryReadSeesTheFileAsItIsNow) {
    Files.AddFile(IniPath, "[S]\nk=1\n");
    TIniFileEx ini(u"S", IniPath, Files);
    EXPECT_EQ(ini.Read(u"k", std::int32_t{0}), 1);
    Files.AddFile(IniPath, "[S]\nk=2\n");
    EXPECT_EQ(ini.Read(u"k", std::int32_t{0}), 2);
}

TEST_F(IniFileTest, AChangeByAnotherWriterBetweenTwoWritesIsKept) {
    TIniFileEx ini(u"S", IniPath, Files);
    ini.Write(u"a", u"1");
    Files.AddFile(IniPath, FileText() + "other=2\r\n");
    EXPECT_EQ(ini.Read(u"other", u""), u"2");
    ini.Write(u"b", u"3");
    EXPECT_EQ(FileText(), "[S]\r\na=1\r\nother=2\r\nb=3\r\n");
}

TEST_F(IniFileTest, StringReadsGiveTheDefaultOnlyForAMissingKey) {
    Files.AddFile(IniPath, "[S]\nempty=\npadded=  a b  \n[T]\nk=other\n");
    TIniFileEx ini(u"S", IniPath, Files);
    EXPECT_EQ(ini.Read(u"empty", u"d"), u"");
    EXPECT_TRUE(ini.ValueExists(u"empty"));
    EXPECT_EQ(ini.Read(u"padded", u"d"), u"  a b  ");
    EXPECT_EQ(ini.Read(u"k", u"d"), u"d");
    EXPECT_EQ(ini.ReadString(u"T", u"K", u"d"), u"other");
    EXPECT_EQ(ini.ReadString(u"Missing", u"k", u"d"), u"d");
    EXPECT_TRUE(ini.ValueExists(u"t", u"k"));
    EXPECT_FALSE(ini.ValueExists(u"Missing", u"k"));
}

struct IntegerCase {
    std::string Text;
    std::int32_t Expected; // the default is 77
};

TEST_F(IniFileTest, IntegerReadAcceptsDecimalAndBothHexFormsElseGivesTheDefault) {
    const IntegerCase cases[] = {
        {"0x10", 16},
        {"0X1f", 31},
        {"$10", 16},
        {"$ff", 255},
        {"-$10", -16},
        {"-5", -5},
        {"+5", 5},
        {"007", 7},
        {" 7 ", 7},
        {"\t7\t", 7},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"$FFFFFFFF", -1},
        {"0xFFFFFFFF", -1},
        {"0x80000000", std::numeric_limits<std::int32_t>::min()},
        {"abc", 77},
        {"99999999999", 77},
        {"2147483648", 77},
        {"-2147483649", 77},
        {"0x100000000", 77},
        {"", 77},
        {"   ", 77},
        {"0x", 77},
        {"$", 77},
        {"-", 77},
        {"--5", 77},
        {"+-5", 77},
        {"- 5", 77},
        {"-0x10", 77},
        {"0x-10", 77},
        {"1.5", 77},
        {"5abc", 77},
        {"1 2", 77},
        {"true", 77},
        {"\xEF\xBC\x95", 77}, // a full-width digit five
    };
    for (const IntegerCase& c : cases) {
        SCOPED_TRACE("\"" + c.Text + "\"");
        Files.AddFile(IniPath, "[S]\nk=" + c.Text + "\n");
        TIniFileEx ini(u"S", IniPath, Files);
        EXPECT_EQ(ini.Read(u"k", std::int32_t{77}), c.Expected);
        EXPECT_EQ(ini.ReadInteger(u"S", u"k", 77), c.Expected);
    }
}

struct BoolCase {
    std::string Text;
    bool ExpectedWithDefaultTrue;
    bool ExpectedWithDefaultFalse;
};

TEST_F(IniFileTest, BooleanReadIsAnIntegerReadWhereNonZeroIsTrue) {
    const BoolCase cases[] = {
        {"1", true, true},     {"0", false, false},  {"2", true, true},      {"-1", true, true},
        {"0x0", false, false}, {"yes", true, false}, {"false", true, false}, {"", true, false},
    };
    for (const BoolCase& c : cases) {
        SCOPED_TRACE("\"" + c.Text + "\"");
        Files.AddFile(IniPath, "[S]\nk=" + c.Text + "\n");
        TIniFileEx ini(u"S", IniPath, Files);
        EXPECT_EQ(ini.Read(u"k", true), c.ExpectedWithDefaultTrue);
        EXPECT_EQ(ini.Read(u"k", false), c.ExpectedWithDefaultFalse);
    }
}

TEST_F(IniFileTest, LongValueComesBackWholeThroughReadStringAndCutThroughThePlainRead) {
    const std::u16string value(5000, u'x');
    Files.AddFile(IniPath, "[S]\nk=" + base::Utf16ToUtf8(value) + "\n");
    TIniFileEx ini(u"S", IniPath, Files);
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), value);
    EXPECT_EQ(ini.Read(u"k", u""), value.substr(0, 2047));
}

TEST_F(IniFileTest, PlainReadCutsBeforeASurrogatePairItCannotHoldWhole) {
    const std::u16string value = std::u16string(2046, u'x') + u"\U0001F600" + u"tail";
    Files.AddFile(IniPath, "[S]\nk=" + base::Utf16ToUtf8(value) + "\n");
    TIniFileEx ini(u"S", IniPath, Files);
    EXPECT_EQ(ini.Read(u"k", u""), std::u16string(2046, u'x'));
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), value);
}

TEST_F(IniFileTest, LongReadStopsAtItsLargestBuffer) {
    const std::size_t largest = 2'097'151; // 2,097,152 characters less the terminator
    for (const std::size_t length : {largest, largest + 9}) {
        SCOPED_TRACE(length);
        Files.AddFile(IniPath, "[S]\nk=" + std::string(length, 'y') + "\n");
        TIniFileEx ini(u"S", IniPath, Files);
        EXPECT_EQ(ini.ReadString(u"S", u"k", u"").size(), largest);
    }
}

// Typed reads go through the overridable long read, as derived INI classes expect.
class TUpperCaseIni : public TIniFileEx {
public:
    using TIniFileEx::TIniFileEx;
    std::u16string ReadString(const std::u16string&, const std::u16string&, const std::u16string&) override {
        return u"0x20";
    }
};

TEST_F(IniFileTest, TypedReadsUseTheOverriddenLongRead) {
    TUpperCaseIni ini(u"S", IniPath, Files);
    EXPECT_EQ(ini.Read(u"k", std::int32_t{0}), 32);
    EXPECT_TRUE(ini.Read(u"k", false));
    EXPECT_EQ(ini.ReadFloat(u"S", u"k", 1.5), 1.5);
}

// --- writing ---

TEST_F(IniFileTest, FirstWriteCreatesTheFileInItsForms) {
    TIniFileEx ini(u"Sending", IniPath, Files);
    ini.Write(u"EnterCount", std::int32_t{-5});
    ini.Write(u"ClearPromptFirst", true);
    ini.Write(u"TraceGrip", false);
    ini.Write(u"Note", u"");
    ini.WriteString(u"Target", u"AcceptedClasses", u"CASCADIA_HOSTING_WINDOW_CLASS;ConsoleWindowClass");
    EXPECT_EQ(FileText(), "[Sending]\r\nEnterCount=-5\r\nClearPromptFirst=1\r\nTraceGrip=0\r\nNote=\r\n\r\n"
                          "[Target]\r\nAcceptedClasses=CASCADIA_HOSTING_WINDOW_CLASS;ConsoleWindowClass\r\n");
}

TEST_F(IniFileTest, EachWriteReplacesTheWholeFileOnceAndKeepsEverythingElse) {
    Files.AddFile(IniPath, "; edited by hand\n[Hotkeys]\nlow = Ctrl+Alt+9\n\n[Other]\nx=1\n");
    TIniFileEx ini(u"Hotkeys", IniPath, Files);
    const std::size_t before = Files.WriteCount();

    ini.Write(u"medium", u"Ctrl+Alt+2");
    EXPECT_EQ(Files.WriteCount(), before + 1);
    EXPECT_EQ(FileText(), "; edited by hand\r\n[Hotkeys]\r\nlow = Ctrl+Alt+9\r\nmedium=Ctrl+Alt+2\r\n\r\n"
                          "[Other]\r\nx=1\r\n");

    ini.Write(u"LOW", u"Ctrl+Alt+1");
    EXPECT_EQ(Files.WriteCount(), before + 2);
    EXPECT_EQ(FileText(), "; edited by hand\r\n[Hotkeys]\r\nlow =Ctrl+Alt+1\r\nmedium=Ctrl+Alt+2\r\n\r\n"
                          "[Other]\r\nx=1\r\n");
}

TEST_F(IniFileTest, RefusedWriteRaisesTheIniErrorAndLeavesTheOldFile) {
    const std::string old = "[S]\r\nk=old\r\n";
    Files.AddFile(IniPath, old);
    Files.DenyWritesUnder(Folder);
    TIniFileEx ini(u"S", IniPath, Files);
    EXPECT_THROW_MSG(ini.Write(u"k", u"new"), EIniFileException, u"Unable to write to " + IniPath);
    EXPECT_EQ(FileText(), old);
    EXPECT_EQ(ini.Read(u"k", u""), u"old");
}

TEST_F(IniFileTest, RefusedFirstWriteCreatesNoFile) {
    Files.DenyWritesUnder(Folder);
    TIniFileEx ini(u"S", IniPath, Files);
    EXPECT_THROW(ini.Write(u"k", std::int32_t{1}), EIniFileException);
    EXPECT_FALSE(Files.FileExists(IniPath));
}

// A file system on which one existing file cannot be read (locked by another program).
class TUnreadableFile final : public platform::IFileSystem {
public:
    explicit TUnreadableFile(TSimFileSystem& inner) : FInner(inner) {}
    bool FileExists(const std::u16string& path) const override { return FInner.FileExists(path); }
    bool FolderExists(const std::u16string& path, bool followLink) const override {
        return FInner.FolderExists(path, followLink);
    }
    platform::TFsResult CreateFolder(const std::u16string& path) override {
        return FInner.CreateFolder(path);
    }
    std::optional<std::string> ReadFile(const std::u16string&) const override { return std::nullopt; }
    platform::TFsResult WriteFileAtomic(const std::u16string& path, std::string_view bytes) override {
        return FInner.WriteFileAtomic(path, bytes);
    }
    platform::TFsResult RemoveFile(const std::u16string& path) override { return FInner.RemoveFile(path); }

private:
    TSimFileSystem& FInner;
};

TEST_F(IniFileTest, FileThatCannotBeReadReadsAsEmptyAndIsNeverOverwritten) {
    const std::string old = "[S]\r\nk=5\r\nother=keep\r\n";
    Files.AddFile(IniPath, old);
    TUnreadableFile locked(Files);
    TIniFileEx ini(u"S", IniPath, locked);
    EXPECT_EQ(ini.Read(u"k", std::int32_t{3}), 3);
    EXPECT_THROW_MSG(ini.Write(u"k", std::int32_t{6}), EIniFileException, u"Unable to write to " + IniPath);
    EXPECT_EQ(FileText(), old);
}

TEST_F(IniFileTest, EntriesThatWouldBreakTheFileAreRefusedAndNothingIsWritten) {
    const std::string old = "[S]\r\nk=old\r\n";
    Files.AddFile(IniPath, old);
    TIniFileEx ini(u"S", IniPath, Files);
    const std::size_t before = Files.WriteCount();

    EXPECT_THROW_MSG(ini.Write(u"Classes", u"a\r\n[Evil]\r\nx=1"), EIniFileException,
                     u"Cannot write \"Classes\" to " + IniPath + u": the value contains a line break");
    EXPECT_THROW(ini.Write(u"k", u"line\n"), EIniFileException);
    EXPECT_THROW(ini.Write(u"a=b", u"v"), EIniFileException);
    EXPECT_THROW(ini.Write(u"", std::int32_t{1}), EIniFileException);
    EXPECT_THROW(ini.WriteString(u"S\n[T", u"k", u"v"), EIniFileException);
    EXPECT_THROW(ini.WriteFont(u"Font\n", FontStruct{u"Arial", 8, 0, 0}), EIniFileException);

    EXPECT_EQ(Files.WriteCount(), before);
    EXPECT_EQ(FileText(), old);
}

TEST_F(IniFileTest, NonAsciiSectionsKeysAndValuesRoundTripUnchanged) {
    const std::u16string section = u"\u2733 Claude Code";
    const std::u16string key = u"\u7A97\u53E3\u7C7B";                             // 窗口类
    const std::u16string value = u"\u7A97\u53E3\u7C7B;\u2733 Claude Code;\u25D0"; // 窗口类;✳ Claude Code;◐
    {
        TIniFileEx ini(section, IniPath, Files);
        ini.Write(key, value);
    }
    EXPECT_EQ(FileText(), base::Utf16ToUtf8(u"[" + section + u"]\r\n" + key + u"=" + value + u"\r\n"));
    TIniFileEx ini(section, IniPath, Files);
    EXPECT_EQ(ini.Read(key, u""), value);
    EXPECT_EQ(ini.ReadString(section, key, u""), value);
}

TEST_F(IniFileTest, WhatTheProgramWritesReadsBackUnchanged) {
    TIniFileEx ini(u"S", IniPath, Files);
    for (const std::u16string value : {u"", u"  blanks around  ", u"\"quoted\"", u"a=b;c", u";x", u"[x]"}) {
        SCOPED_TRACE(base::Utf16ToUtf8(value));
        ini.Write(u"k", value);
        EXPECT_EQ(ini.Read(u"k", u"<default>"), value);
    }
    for (const std::int32_t value :
         {0, -1, 42, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()}) {
        SCOPED_TRACE(value);
        ini.Write(u"n", value);
        EXPECT_EQ(ini.Read(u"n", std::int32_t{7}), value);
    }
}

// --- files as Windows users edit them ---

// One hand-edited file in every form Notepad saves, each read and rewritten by the INI handle.
struct EncodedFileCase {
    const char* Name;
    std::string Bytes;
    std::function<std::string(std::u16string_view)> Encode; // the same form, for the expected bytes
};

// A comment, a section header with a comment after it, quoted numbers, a line with a NUL, a
// non-ASCII class name and a line without '='.
const std::u16string HandEditedText = u"; Tarvin settings\r\n"
                                      u"[Sending] ; see [docs]\r\n"
                                      u"EnterCount=\"7\"\r\n"
                                      u"ClearDelayMs = '90'\r\n"
                                      u"[Hotkeys]\r\n"
                                      u"low=Ctrl+Alt+9\r\n"
                                      u"[Target]\r\n"
                                      u"x\0=1\r\n"
                                      u"AcceptedClasses=\u00C9cran;\"a;b\"\r\n"
                                      u"stray line\r\n"s;

std::vector<EncodedFileCase> HandEditedFiles() {
    using test::Latin1Bytes;
    using test::Utf16BEBytes;
    using test::Utf16LEBytes;
    const std::u16string& crlf = HandEditedText;
    std::u16string lf = crlf;
    for (std::size_t at = lf.find(u"\r\n"); at != std::u16string::npos; at = lf.find(u"\r\n", at)) {
        lf.erase(at, 1);
    }
    const auto utf8 = [](std::u16string_view text) { return base::Utf16ToUtf8(text); };
    const auto utf8Bom = [](std::u16string_view text) { return "\xEF\xBB\xBF" + base::Utf16ToUtf8(text); };
    const auto le = [](std::u16string_view text) { return "\xFF\xFE" + Utf16LEBytes(text); };
    const auto be = [](std::u16string_view text) { return "\xFE\xFF" + Utf16BEBytes(text); };
    const auto ansi = [](std::u16string_view text) { return Latin1Bytes(text); };
    return {
        {"UTF-8, CRLF", utf8(crlf), utf8},
        {"UTF-8, LF", utf8(lf), utf8},
        {"UTF-8 with mark, LF", utf8Bom(lf), utf8Bom},
        {"Notepad's Unicode: UTF-16 LE with mark, CRLF", le(crlf), le},
        {"UTF-16 LE with mark, LF", le(lf), le},
        {"UTF-16 BE with mark, CRLF", be(crlf), be},
        {"ANSI, CRLF", ansi(crlf), ansi},
        {"ANSI, LF", ansi(lf), ansi},
    };
}

TEST_F(IniFileTest, HandEditedFilesReadInEveryEncoding) {
    for (const EncodedFileCase& c : HandEditedFiles()) {
        SCOPED_TRACE(c.Name);
        Files.AddFile(IniPath, c.Bytes);
        TIniFileEx ini(u"Sending", IniPath, Files);
        EXPECT_EQ(ini.Read(u"EnterCount", std::int32_t{3}), 7);
        EXPECT_EQ(ini.ReadInteger(u"Sending", u"ClearDelayMs", 60), 90);
        EXPECT_EQ(ini.Read(u"EnterCount", u""), u"\"7\"");
        EXPECT_EQ(ini.ReadString(u"Hotkeys", u"low", u""), u"Ctrl+Alt+9");
        EXPECT_EQ(ini.ReadString(u"Target", u"AcceptedClasses", u""), u"\u00C9cran;\"a;b\"");
        EXPECT_FALSE(ini.ValueExists(u"Target", u"x"));
        EXPECT_FALSE(ini.ValueExists(u"Target", u"stray line"));
    }
}

TEST_F(IniFileTest, WritingOneKeyKeepsEveryOtherLineAndTheEncoding) {
    // Only the value of the key that was set changes, the key's spelling kept.
    std::u16string written = HandEditedText;
    const std::u16string before = u"EnterCount=\"7\"";
    written.replace(written.find(before), before.size(), u"EnterCount=8");
    for (const EncodedFileCase& c : HandEditedFiles()) {
        SCOPED_TRACE(c.Name);
        Files.AddFile(IniPath, c.Bytes);
        TIniFileEx ini(u"Sending", IniPath, Files);
        ini.Write(u"EnterCount", std::int32_t{8});
        EXPECT_EQ(FileText(), c.Encode(written));
        EXPECT_EQ(ini.Read(u"EnterCount", std::int32_t{3}), 8);
    }
}

TEST_F(IniFileTest, AnsiFileTakesACharacterItLacksAsUtf8WithAMark) {
    Files.AddFile(IniPath, "[Target]\r\nAcceptedClasses=\xC9"
                           "cran\r\n");
    TIniFileEx ini(u"Target", IniPath, Files);
    ini.Write(u"Marker", u"\u2733");
    EXPECT_EQ(FileText(), "\xEF\xBB\xBF[Target]\r\nAcceptedClasses=\xC3\x89"
                          "cran\r\nMarker=\xE2\x9C\xB3\r\n");
    EXPECT_EQ(ini.Read(u"AcceptedClasses", u""), u"\u00C9cran");
    EXPECT_EQ(ini.Read(u"Marker", u""), u"\u2733");
}

TEST_F(IniFileTest, TypedReadsDropOnePairOfMatchingQuotes) {
    struct TCase {
        std::string Text;
        std::int32_t Integer; // the default is 77
    };
    const TCase cases[] = {
        {"\"7\"", 7},  {"'7'", 7},     {" \"7\" ", 7}, {"\" 7 \"", 7},    {"\"0x10\"", 16},
        {"'$10'", 16}, {"\"-5\"", -5}, {"\"7'", 77},   {"'7\"", 77},      {"\"7", 77},
        {"\"", 77},    {"\"\"", 77},   {"''7''", 77},  {"\"\"7\"\"", 77}, {"7\"", 77},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        Files.AddFile(IniPath, "[S]\nk=" + c.Text + "\nb=" + c.Text + "\n");
        TIniFileEx ini(u"S", IniPath, Files);
        EXPECT_EQ(ini.Read(u"k", std::int32_t{77}), c.Integer);
        EXPECT_EQ(ini.Read(u"k", u""), base::Utf8ToUtf16(c.Text));
    }
    Files.AddFile(IniPath, "[S]\nb='0'\nf=\"1,5\"\nd='2024-02-29'\n");
    TIniFileEx ini(u"S", IniPath, Files);
    EXPECT_FALSE(ini.Read(u"b", true));
    EXPECT_EQ(ini.Read(u"f", 9.0), 1.5);
    EXPECT_EQ(ini.ReadDate(u"d", 7.0), 45351.0);
}

TEST(IniValueQuotes, QuotedValueReadsBackAsItselfThroughUnquotedValue) {
    struct TCase {
        std::u16string Text;
        std::u16string Written;
    };
    const TCase cases[] = {
        {u"Ctrl+Alt+1", u"Ctrl+Alt+1"},
        {u"Ctrl+'", u"Ctrl+'"},
        {u"'", u"'"},
        {u"\"", u"\""},
        {u"", u""},
        {u"'x'", u"\"'x'\""},
        {u"\"x\"", u"\"\"x\"\""},
        {u" padded", u"\" padded\""},
        {u"tab\t", u"\"tab\t\""},
        {u"\"a\";\"b\"", u"\"\"a\";\"b\"\""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.Text));
        EXPECT_EQ(QuotedValue(c.Text), c.Written);
        EXPECT_EQ(UnquotedValue(QuotedValue(c.Text)), c.Text);
    }
}

TEST_F(IniFileTest, EntriesThatWouldNotReadBackAreRefusedWithTheirReason) {
    TIniFileEx ini(u"S", IniPath, Files);
    EXPECT_THROW_MSG(ini.WriteString(u"Form [1]", u"k", u"v"), EIniFileException,
                     u"Cannot write \"k\" to " + IniPath +
                         u": the section name \"Form [1]\" is not a valid INI section name");
    EXPECT_THROW_MSG(ini.Write(u"k", u"a\0b"s), EIniFileException,
                     u"Cannot write \"k\" to " + IniPath + u": the value contains a NUL character");
    EXPECT_FALSE(Files.FileExists(IniPath));
}

// --- floating point and dates ---

struct FloatWriteCase {
    double Value;
    std::string Written;
    double ReadBack;
};

TEST_F(IniFileTest, FloatsAreWrittenShortestWithAtMostFifteenDigitsAndReadBack) {
    const FloatWriteCase cases[] = {
        {0.0, "0", 0.0},
        {1.0, "1", 1.0},
        {-2.5, "-2.5", -2.5},
        {0.1, "0.1", 0.1},
        {1.0 / 3.0, "0.333333333333333", 0.333333333333333},
        {123456.789, "123456.789", 123456.789},
        {1e20, "1e+20", 1e20},
        {1.5e-7, "1.5e-07", 1.5e-7},
        {2.0 / 3.0 * 1e6, "666666.666666667", 666666.666666667},
    };
    TIniFileEx ini(u"S", IniPath, Files);
    for (const FloatWriteCase& c : cases) {
        SCOPED_TRACE(c.Written);
        ini.Write(u"f", c.Value);
        EXPECT_EQ(FileText(), "[S]\r\nf=" + c.Written + "\r\n");
        EXPECT_EQ(ini.Read(u"f", 99.0), c.ReadBack);
    }
}

struct FloatReadCase {
    std::string Text;
    double Expected; // the default is 99
};

TEST_F(IniFileTest, FloatReadTakesAPointOrACommaElseGivesTheDefault) {
    const FloatReadCase cases[] = {
        {"1.5", 1.5},   {"1,5", 1.5},     {" -2.25 ", -2.25}, {"+3", 3.0},     {"1e3", 1000.0},
        {"1E-2", 0.01}, {"", 99.0},       {"abc", 99.0},      {"1,5.2", 99.0}, {"1,000,000", 99.0},
        {"0x10", 99.0}, {"1.5 kg", 99.0}, {"++1", 99.0},      {"1e999", 99.0},
    };
    for (const FloatReadCase& c : cases) {
        SCOPED_TRACE("\"" + c.Text + "\"");
        Files.AddFile(IniPath, "[S]\nf=" + c.Text + "\n");
        TIniFileEx ini(u"S", IniPath, Files);
        EXPECT_DOUBLE_EQ(ini.Read(u"f", 99.0), c.Expected);
        EXPECT_DOUBLE_EQ(ini.ReadFloat(u"S", u"f", 99.0), c.Expected);
    }
}

struct DateCase {
    TDateTime Value;
    std::string Written;
    TDateTime ReadBack;
};

TEST_F(IniFileTest, DatesAreWrittenAsIsoDaysWithoutTheTimeAndReadBack) {
    const DateCase cases[] = {
        {0.0, "1899-12-30", 0.0},
        {45292.75, "2024-01-01", 45292.0},
        {36585.0, "2000-02-29", 36585.0},
        {-1.5, "1899-12-29", -1.0},
        {-693593.0, "0001-01-01", -693593.0},
        {2958465.9, "9999-12-31", 2958465.0},
    };
    TIniFileEx ini(u"S", IniPath, Files);
    for (const DateCase& c : cases) {
        SCOPED_TRACE(c.Written);
        ini.WriteDate(u"d", c.Value);
        EXPECT_EQ(FileText(), "[S]\r\nd=" + c.Written + "\r\n");
        EXPECT_EQ(ini.ReadDate(u"d", 1.0), c.ReadBack);
        EXPECT_EQ(ini.ReadDateIn(u"S", u"d", 1.0), c.ReadBack);
    }
}

TEST_F(IniFileTest, DateReadGivesTheDefaultForTextThatIsNoIsoDate) {
    for (const std::string text :
         {"", "abc", "2023-02-29", "2024-13-01", "2024-00-10", "2024-04-31", "0000-01-01", "24-1-1",
          "2024-1-01", "01/02/2024", "2024-01-01T10:00", "2024/01/01"}) {
        SCOPED_TRACE("\"" + text + "\"");
        Files.AddFile(IniPath, "[S]\nd=" + text + "\n");
        TIniFileEx ini(u"S", IniPath, Files);
        EXPECT_EQ(ini.ReadDate(u"d", 7.0), 7.0);
    }
    Files.AddFile(IniPath, "[S]\nd= 2024-02-29 \n");
    TIniFileEx ini(u"S", IniPath, Files);
    EXPECT_EQ(ini.ReadDate(u"d", 7.0), 45351.0);
}

TEST_F(IniFileTest, DateOutsideTheYearsOneToNineThousandIsRefused) {
    TIniFileEx ini(u"S", IniPath, Files);
    for (const double value : {-693594.0, 2958466.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(value);
        EXPECT_THROW(ini.WriteDate(u"d", value), EIniFileException);
    }
    EXPECT_FALSE(Files.FileExists(IniPath));
}

// --- fonts ---

TEST_F(IniFileTest, WriteFontStoresAMarkerAndFourKeysInOrder) {
    TIniFileEx ini(u"Log Settings", IniPath, Files);
    ini.WriteFont(u"Font", FontStruct{u"Consolas", 10, fsBold | fsUnderline, 0xFF00000Fu});
    EXPECT_TRUE(ini.ValueExists(u"Font"));
    EXPECT_EQ(FileText(), "[Log Settings]\r\nFont=\r\nFontName=Consolas\r\nFontColor=-16777201\r\n"
                          "FontSize=10\r\nFontStyle=5\r\n");
    EXPECT_EQ(ini.ReadFont(u"Font"), (FontStruct{u"Consolas", 10, fsBold | fsUnderline, 0xFF00000Fu}));
}

TEST_F(IniFileTest, WriteFontKeepsOnlyTheFourStyleBits) {
    TIniFileEx ini(u"S", IniPath, Files);
    ini.WriteFont(u"F", FontStruct{u"\u5B8B\u4F53", 9, 0xFF, 0x00123456u});
    EXPECT_EQ(ini.ReadString(u"S", u"FStyle", u""), u"15");
    EXPECT_EQ(ini.ReadFont(u"F"), (FontStruct{u"\u5B8B\u4F53", 9, 0x0F, 0x00123456u}));
}

struct FontReadCase {
    const char* Name;
    std::string Text;
    FontStruct Expected;
};

TEST_F(IniFileTest, ReadFontNeedsTheNameKeyAndFillsDefaults) {
    const FontReadCase cases[] = {
        {"no file keys", "", {u"Arial", 8, 0, 0}},
        {"no Name key", "[S]\nFont=\nFontColor=255\nFontSize=12\nFontStyle=3\n", {u"Arial", 8, 0, 0}},
        {"Name key only", "[S]\nFontName=Courier\n", {u"Courier", 8, 0, 0}},
        {"empty Name", "[S]\nFontName=\nFontSize=11\n", {u"", 11, 0, 0}},
        {"unreadable numbers",
         "[S]\nFontName=X\nFontColor=red\nFontSize=big\nFontStyle=bold\n",
         {u"X", 8, 0, 0}},
        {"Style keeps its low byte", "[S]\nFontName=X\nFontStyle=259\n", {u"X", 8, 3, 0}},
        {"hex colour", "[S]\nFontName=X\nFontColor=$FF000005\n", {u"X", 8, 0, 0xFF000005u}},
        {"keys of another section ignored", "[T]\nFontName=X\n", {u"Arial", 8, 0, 0}},
    };
    for (const FontReadCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Files.AddFile(IniPath, c.Text);
        TIniFileEx ini(u"S", IniPath, Files);
        EXPECT_EQ(ini.ReadFont(u"Font"), c.Expected);
    }
}

} // namespace
} // namespace orvel
