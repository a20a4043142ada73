#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.LogLinesM.h"
#include "framework/core/OrvelCore.LogLinesS.h"
#include "framework/core/OrvelCore.StreamBuff.h"
#include "framework/core/OrvelCore.StreamMem.h"
#include "platform/sim/Sim.Desktop.h"
#include "platform/sim/Sim.FileStreams.h"
#include "platform/sim/Sim.FileSystem.h"
#include "tests/Test.Support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace orvel {
namespace {

using platform::sim::TSimDesktop;

constexpr std::string_view Pattern = "<##Brennhaven - Pattern of exactly 64 bytes for safety check.##>";

std::string Bytes(const TKestroMemStream& s) {
    return std::string(s.Data().begin(), s.Data().end());
}

std::string Le32(std::int32_t v) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) {
        out[static_cast<std::size_t>(i)] =
            static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    }
    return out;
}

std::string DoubleBytes(double d) {
    std::string out(8, '\0');
    std::memcpy(out.data(), &d, 8);
    return out;
}

// A stream holding exactly `bytes`, positioned at its start.
TKestroMemStream StreamOf(const std::string& bytes) {
    TKestroMemStream s;
    s.PushData(bytes);
    s.SetPosition(0);
    return s;
}

std::string BlockHeader(std::string_view signature = "TLogLines", std::uint16_t version = 5) {
    TKestroMemStream s;
    s.WriteHeader(signature, version);
    return Bytes(s);
}

// One line in the stream form, with a level field of the caller's choosing.
std::string LineBytes(const std::string& utf8Msg, std::int32_t level, std::int32_t indent = 0,
                      bool bold = false, double time = 0.0) {
    return Le32(static_cast<std::int32_t>(utf8Msg.size())) + utf8Msg + Le32(level) + Le32(indent) +
           std::string(1, bold ? '\1' : '\0') + DoubleBytes(time) + std::string(Pattern.substr(0, 8));
}

template <typename T> class LogLinesStreamTest : public ::testing::Test {
protected:
    TSimDesktop Desktop;
    T Lines{Desktop};
};

using ContainerTypes = ::testing::Types<TLogLinesSingleThreaded, TLogLinesMultiThreaded>;
TYPED_TEST_SUITE(LogLinesStreamTest, ContainerTypes);

TYPED_TEST(LogLinesStreamTest, AnEmptyListTakes87Bytes) {
    TKestroMemStream s;
    this->Lines.WriteToStream(s);
    EXPECT_EQ(Bytes(s), std::string("ZeVo") + Le32(9) + "TLogLines" + std::string("\x05\x00", 2) + Le32(0) +
                            std::string(Pattern));
    EXPECT_EQ(s.Size(), 87);
}

TYPED_TEST(LogLinesStreamTest, OneLineHiAtErrorsTakes118Bytes) {
    this->Desktop.SetNow(46000.75);
    this->Lines.AddNewLine(u"Hi", lvErrors, false, 0);
    TKestroMemStream s;
    this->Lines.WriteToStream(s);
    ASSERT_EQ(s.Size(), 118);
    const std::string bytes = Bytes(s);
    EXPECT_EQ(bytes.substr(0, 19), BlockHeader());
    EXPECT_EQ(bytes.substr(19, 4), Le32(1));
    EXPECT_EQ(bytes.substr(23, 31),
              std::string("\x02\x00\x00\x00Hi\x06\x00\x00\x00\x00\x00\x00\x00\x00", 15) +
                  DoubleBytes(46000.75) + std::string(Pattern.substr(0, 8)));
    EXPECT_EQ(bytes.substr(54), std::string(Pattern));
}

TYPED_TEST(LogLinesStreamTest, MessagesAreCountedInUtf8Bytes) {
    this->Lines.AddNewLine(u"\u00e9", lvInfos, false, 0);
    TKestroMemStream s;
    this->Lines.WriteToStream(s);
    EXPECT_EQ(Bytes(s).substr(23, 6), Le32(2) + "\xC3\xA9");
    EXPECT_EQ(s.Size(), 87 + 29 + 2);
}

TYPED_TEST(LogLinesStreamTest, ReadingAppendsTheLinesAsWritten) {
    TSimDesktop desktop;
    TypeParam source(desktop);
    const std::u16string texts[] = {u"", u"plain", u"\u00e9\u20ac\U0001F600", std::u16string(5000, u'x')};
    for (int i = 0; i < 4; ++i) {
        desktop.SetNow(45000.0 + i * 0.125);
        source.AddNewLine(texts[i], static_cast<TLogVerbLvl>(i * 2), i % 2 == 1, i - 1);
    }
    TKestroMemStream s;
    source.WriteToStream(s);
    s.SetPosition(0);

    this->Lines.AddNewLine(u"already there", lvDebug, false, 0);
    this->Lines.ReadFromStream(s);
    EXPECT_EQ(s.Position(), s.Size());
    ASSERT_EQ(this->Lines.Count(), 5);
    EXPECT_EQ(this->Lines.Items(0)->Msg, u"already there");
    for (int i = 0; i < 4; ++i) {
        const RLogLine& read = *this->Lines.Items(i + 1);
        const RLogLine& written = *source.Items(i);
        EXPECT_EQ(read.Msg, written.Msg) << i;
        EXPECT_EQ(read.Level, written.Level) << i;
        EXPECT_EQ(read.Indent, written.Indent) << i;
        EXPECT_EQ(read.Bold, written.Bold) << i;
        EXPECT_EQ(read.Time, written.Time) << i;
    }
}

TYPED_TEST(LogLinesStreamTest, AnyNonZeroBoldByteReadsAsTrue) {
    std::string line = LineBytes("b", lvInfos);
    line[4 + 1 + 4 + 4] = '\x7F';
    TKestroMemStream s = StreamOf(BlockHeader() + Le32(1) + line + std::string(Pattern));
    this->Lines.ReadFromStream(s);
    ASSERT_EQ(this->Lines.Count(), 1);
    EXPECT_TRUE(this->Lines.Items(0)->Bold);
}

TYPED_TEST(LogLinesStreamTest, AnInvalidLevelIsARefusedReadKeepingTheLinesBefore) {
    for (std::int32_t level : {7, -1, 1000}) {
        this->Lines.Clear();
        TKestroMemStream s = StreamOf(BlockHeader() + Le32(2) + LineBytes("good", lvInfos) +
                                      LineBytes("bad", level) + std::string(Pattern));
        EXPECT_THROW_MSG(this->Lines.ReadFromStream(s), EReadError,
                         u"Invalid log verbosity level: " + base::AsciiToUtf16(std::to_string(level)) +
                             u". Stream corrupted?")
            << "level " << level;
        ASSERT_EQ(this->Lines.Count(), 1) << level;
        EXPECT_EQ(this->Lines.Items(0)->Msg, u"good");
    }
}

TYPED_TEST(LogLinesStreamTest, AForeignBlockSignatureReadsNothingAndLogsTheExpectedOne) {
    this->Lines.AddNewLine(u"kept", lvInfos, false, 0);
    TKestroMemStream s =
        StreamOf(BlockHeader("TLogLine") + Le32(1) + LineBytes("not read", lvInfos) + std::string(Pattern));
    std::vector<std::u16string> logged;
    s.SetErrorLineSink([&logged](const std::u16string& line) { logged.push_back(line); });
    this->Lines.ReadFromStream(s);
    EXPECT_EQ(logged, std::vector<std::u16string>{u"Signature mismatch: TLogLines"});
    ASSERT_EQ(this->Lines.Count(), 1);
    EXPECT_EQ(this->Lines.Items(0)->Msg, u"kept");
}

TYPED_TEST(LogLinesStreamTest, HeaderVersionsOtherThan5) {
    TKestroMemStream v4 = StreamOf(BlockHeader("TLogLines", 4) + Le32(0) + std::string(Pattern));
    // A general error, not a read error.
    EXPECT_THROW_EXACTLY_MSG(this->Lines.ReadFromStream(v4), EOrvelException, u"Unsupported stream version.");
    // A stored version 0 reads like a missing header: nothing more is read.
    TKestroMemStream v0 = StreamOf(BlockHeader("TLogLines", 0) + Le32(1) + LineBytes("x", lvInfos));
    this->Lines.ReadFromStream(v0);
    EXPECT_EQ(this->Lines.Count(), 0);
    EXPECT_EQ(v0.Position(), 19);
}

TYPED_TEST(LogLinesStreamTest, DamagedBlocksRaiseAndKeepTheLinesReadSoFar) {
    std::string badLinePattern = LineBytes("second", lvInfos);
    badLinePattern.back() = '?';
    std::string badEndPattern(Pattern);
    badEndPattern[10] = '?';
    const std::string good = LineBytes("first", lvInfos);
    struct Case {
        const char* Name;
        std::string Bytes;
        std::u16string Message;
        int LinesKept;
    };
    const Case cases[] = {
        {"line pattern", BlockHeader() + Le32(2) + good + badLinePattern + std::string(Pattern),
         u"Invalid checkpoint!!", 1},
        {"closing pattern", BlockHeader() + Le32(1) + good + badEndPattern, u"Invalid checkpoint!!", 1},
        {"closing pattern cut short", BlockHeader() + Le32(1) + good + std::string(Pattern.substr(0, 20)),
         u"Read beyond stream!", 1},
        {"count larger than the lines", BlockHeader() + Le32(3) + good, u"", 1},
        {"huge count", BlockHeader() + Le32(0x7FFFFFFF) + good, u"", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        this->Lines.Clear();
        TKestroMemStream s = StreamOf(c.Bytes);
        // An empty message in the table: any message will do.
        const ::testing::Matcher<const std::string&> message =
            c.Message.empty() ? ::testing::Matcher<const std::string&>(::testing::_)
                              : ::testing::Eq(base::Utf16ToUtf8(c.Message));
        EXPECT_THROW_MSG_THAT(this->Lines.ReadFromStream(s), EOrvelException, message);
        ASSERT_EQ(this->Lines.Count(), c.LinesKept);
        if (c.LinesKept > 0) {
            EXPECT_EQ(this->Lines.Items(0)->Msg, u"first");
        }
    }
}

TYPED_TEST(LogLinesStreamTest, AMessageOverTheLimitIsRefusedBeforeReadingIt) {
    TKestroMemStream s = StreamOf(BlockHeader() + Le32(1) + Le32(16777217));
    EXPECT_THROW_MSG_THAT(this->Lines.ReadFromStream(s), EOrvelException,
                          ::testing::StartsWith("String too large: 16777217 bytes"));
}

// --- the multi-threaded container's locks around the stream form ---

bool AnotherThreadCanAdd(TLogLinesMultiThreaded& lines) {
    std::atomic<bool> done{false};
    std::thread t([&] {
        lines.AddNewLine(u"from another thread", lvInfos, false, 0);
        done = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    if (!done) {
        t.detach(); // it waits for a lock that is never given back; the failure is reported below
        return false;
    }
    t.join();
    return true;
}

// Reading a stream into the application's own log holds the write lock while a bad block header
// logs an error line into that same log, and that addition may count, snapshot and save the lines.
TEST(LogLinesMultiThreadedStream, ReadingMayLogIntoTheSameContainerOnTheSameThread) {
    TSimDesktop desktop;
    TLogLinesMultiThreaded lines(desktop);
    lines.AddNewLine(u"before", lvInfos, false, 0);
    std::unique_ptr<TAbstractLogLines> snapshot;
    TKestroMemStream saved;
    int countSeen = -1;
    TKestroMemStream s = StreamOf(BlockHeader("TLogLine") + Le32(0) + std::string(Pattern));
    s.SetErrorLineSink([&](const std::u16string& line) {
        lines.AddNewLine(line, lvErrors, false, 0);
        countSeen = lines.CountFiltered(lvDebug);
        lines.WriteToStream(saved);
        snapshot = lines.SnapshotAndClear();
        lines.AddNewLine(u"after the snapshot", lvInfos, false, 0);
    });
    lines.ReadFromStream(s);

    EXPECT_EQ(countSeen, 2);
    EXPECT_EQ(saved.Size(), 87 + 2 * 29 + 6 + 29);
    ASSERT_NE(snapshot, nullptr);
    ASSERT_EQ(snapshot->Count(), 2);
    EXPECT_EQ(snapshot->Items(1)->Msg, u"Signature mismatch: TLogLines");
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.Items(0)->Msg, u"after the snapshot");
    EXPECT_TRUE(AnotherThreadCanAdd(lines));
}

TEST(LogLinesMultiThreadedStream, TheLockIsGivenBackWhenReadingOrWritingFails) {
    TSimDesktop desktop;
    TLogLinesMultiThreaded lines(desktop);
    TKestroMemStream bad = StreamOf(BlockHeader("TLogLines", 4));
    EXPECT_THROW(lines.ReadFromStream(bad), EOrvelException);
    ASSERT_TRUE(AnotherThreadCanAdd(lines));

    lines.AddNewLine(u"x", lvInfos, false, 0);
    TKestroMemStream s;
    // A sink that fails while the write lock is held.
    TKestroMemStream failing = StreamOf(BlockHeader("Other"));
    failing.SetErrorLineSink([](const std::u16string&) { throw EOrvelException(u"sink failed"); });
    EXPECT_THROW(lines.ReadFromStream(failing), EOrvelException);
    ASSERT_TRUE(AnotherThreadCanAdd(lines));

    // Writing through a walk that another thread's addition must wait for.
    lines.WriteToStream(s);
    EXPECT_TRUE(AnotherThreadCanAdd(lines));
    EXPECT_EQ(lines.Count(), 4);
}

// --- through the buffered file stream ---

// Lines of every kind: empty, ASCII, other characters, a lone surrogate (written as U+FFFD), and
// one longer than the write buffer, which takes the field-by-field way.
void AddAssortedLines(TAbstractLogLines& Lines) {
    const std::u16string texts[] = {
        u"",
        u"plain ASCII, longer than sixteen characters",
        u"\u00E9t\u00E9 \u20AC \U0001F600",
        u"lone \xD800 half",
        std::u16string(40000, u'L'),
        u"x",
    };
    int n = 0;
    for (const std::u16string& text : texts) {
        Lines.AddNewLine(text, static_cast<TLogVerbLvl>(n % 7), n % 2 == 1, n - 2);
        ++n;
    }
}

class LogLinesFileStream : public ::testing::Test {
protected:
    TSimDesktop Desktop;
    platform::sim::TSimFileSystem Fs;
    platform::sim::TSimFileStreams Files{Fs};
    const std::u16string Path = u"C:\\data\\lines.logbin";

    void SetUp() override { Fs.AddFolder(u"C:\\data"); }
};

// Lines are written in place in the file stream's buffer and read in place from it; the bytes
// must be those the memory stream's field-by-field way writes, and every line must read back
// whole, also where a line straddles the end of the read buffer.
TEST_F(LogLinesFileStream, InPlaceWritingAndReadingGiveTheSameBytesAndLines) {
    TLogLinesSingleThreaded lines(Desktop);
    AddAssortedLines(lines);
    TKestroMemStream memory;
    lines.WriteToStream(memory);
    {
        auto file = TOrvelStream::CreateWrite(Files, Path);
        lines.WriteToStream(file);
        file.Close();
    }
    ASSERT_EQ(Fs.Contents(Path).value_or(""), Bytes(memory));

    for (const std::size_t bufferSize : {std::size_t{64}, std::size_t{100}, TOrvelStream::ReadBufferSize}) {
        SCOPED_TRACE("read buffer " + std::to_string(bufferSize));
        TLogLinesSingleThreaded back(Desktop);
        auto file = TOrvelStream::CreateRead(Files, Path, bufferSize);
        back.ReadFromStream(file);
        EXPECT_EQ(file.Position(), file.Size());
        ASSERT_EQ(back.Count(), lines.Count());
        for (int i = 0; i < lines.Count(); ++i) {
            const RLogLine& a = *lines.Items(i);
            const RLogLine& b = *back.Items(i);
            EXPECT_EQ(b.Msg, i == 3 ? TLogText(u"lone \uFFFD half") : a.Msg) << i;
            EXPECT_EQ(b.Level, a.Level);
            EXPECT_EQ(b.Bold, a.Bold);
            EXPECT_EQ(b.Indent, a.Indent);
            EXPECT_EQ(b.Time, a.Time);
        }
    }
}

// A line read in place refuses a bad level or pattern with the very words of the other way.
TEST_F(LogLinesFileStream, ALineReadInPlaceFailsLikeOneReadFieldByField) {
    struct TCase {
        const char* What;
        std::string Line;
        std::string Message;
    };
    const TCase cases[] = {
        {"level 7", LineBytes("abc", 7), "Invalid log verbosity level: 7. Stream corrupted?"},
        {"level -1", LineBytes("abc", -1), "Invalid log verbosity level: -1. Stream corrupted?"},
        {"pattern", LineBytes("abc", 3).substr(0, 4 + 3 + 25 - 1) + "!", "Invalid checkpoint!!"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const std::string block = BlockHeader() + Le32(2) + LineBytes("fine", 2) + c.Line + std::string(Pattern);
        for (const bool inPlace : {true, false}) {
            TLogLinesSingleThreaded lines(Desktop);
            const auto read = [&] {
                if (inPlace) {
                    Fs.AddFile(Path, block);
                    auto file = TOrvelStream::CreateRead(Files, Path);
                    lines.ReadFromStream(file);
                } else {
                    TKestroMemStream memory = StreamOf(block);
                    lines.ReadFromStream(memory);
                }
            };
            EXPECT_THROW_MSG(read(), EOrvelException, c.Message) << (inPlace ? "in place" : "field by field");
            ASSERT_EQ(lines.Count(), 1) << "the line before the bad one stays";
            EXPECT_EQ(lines.Items(0)->Msg, u"fine");
        }
    }
}

} // namespace
} // namespace orvel
