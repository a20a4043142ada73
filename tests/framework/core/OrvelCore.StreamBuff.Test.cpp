// The buffered file stream on the simulated file system: opening, buffering, flushing, and the
// messages that are its own.
#include "framework/core/OrvelCore.StreamBuff.h"
#include "platform/sim/Sim.FileStreams.h"
#include "tests/Test.Support.h"
#include "tests/framework/core/OrvelCore.StreamTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace orvel {
namespace {

using test::Hex;
using test::ToHex;

class OrvelStream : public ::testing::Test {
protected:
    platform::sim::TSimFileSystem Fs;
    platform::sim::TSimFileStreams Files{Fs};
    const std::u16string Path = u"C:\\data\\log.logbin";

    void SetUp() override { Fs.AddFolder(u"C:\\data"); }

    TOrvelStream Over(std::string bytes) {
        Fs.AddFile(Path, std::move(bytes));
        return TOrvelStream::CreateRead(Files, Path);
    }
    std::string Stored() const { return Fs.Contents(Path).value_or("<missing>"); }
};

TEST_F(OrvelStream, MissingFileRaisesTheOpenErrorWithTheSystemReason) {
    EXPECT_THROW_EXACTLY_MSG(TOrvelStream::CreateRead(Files, u"C:\\data\\none.bin"), EReadError, "Cannot open file \"C:\\data\\none.bin\". The system cannot find the file specified.");
}

TEST_F(OrvelStream, CreateWriteFailureRaisesTheFileCreateError) {
    EXPECT_THROW_EXACTLY_MSG(TOrvelStream::CreateWrite(Files, u"C:\\nowhere\\x.bin"), EFCreateError, "Cannot create file \"C:\\nowhere\\x.bin\". The system cannot find the path specified.");
}

TEST_F(OrvelStream, CreateWriteReplacesAnExistingFile) {
    Fs.AddFile(Path, "old contents");
    auto stream = TOrvelStream::CreateWrite(Files, Path);
    stream.WriteInteger(1);
    stream.Close();
    EXPECT_EQ(ToHex(Stored()), "01 00 00 00");
}

TEST_F(OrvelStream, AReaderSharesWithReadersOnly) {
    Fs.AddFile(Path, "x");
    auto first = TOrvelStream::CreateRead(Files, Path);
    auto second = TOrvelStream::CreateRead(Files, Path);
    EXPECT_THROW(TOrvelStream::CreateWrite(Files, Path), EFCreateError);
    EXPECT_EQ(second.ReadByte(), 'x');
}

TEST_F(OrvelStream, AWriterSharesWithNobody) {
    auto writer = TOrvelStream::CreateWrite(Files, Path);
    EXPECT_THROW(TOrvelStream::CreateRead(Files, Path), EReadError);
    EXPECT_THROW(TOrvelStream::CreateWrite(Files, Path), EFCreateError);
    writer.Close();
    EXPECT_NO_THROW(TOrvelStream::CreateRead(Files, Path));
}

TEST_F(OrvelStream, SmallReadsGoThroughTheBufferNotTheFile) {
    std::string bytes;
    for (int i = 0; i < 1000; ++i) {
        bytes += Hex("01000000");
    }
    auto stream = Over(bytes);
    int sum = 0;
    for (int i = 0; i < 1000; ++i) {
        sum += stream.ReadInteger();
    }
    EXPECT_EQ(sum, 1000);
    EXPECT_LE(Files.ReadCalls(), 2u);
}

TEST_F(OrvelStream, SmallWritesReachTheFileInOneBlockOnClose) {
    auto stream = TOrvelStream::CreateWrite(Files, Path);
    for (int i = 0; i < 1000; ++i) {
        stream.WriteInteger(i);
    }
    EXPECT_EQ(Files.WriteCalls(), 0u);
    EXPECT_EQ(stream.Size(), 4000);
    stream.Close();
    EXPECT_EQ(Files.WriteCalls(), 1u);
    EXPECT_EQ(Stored().size(), 4000u);
    EXPECT_FALSE(stream.IsOpen());
}

TEST_F(OrvelStream, AFullWriteBufferIsHandedOnAtOnce) {
    auto stream = TOrvelStream::CreateWrite(Files, Path);
    const std::string block(1000, 'b');
    for (int i = 0; i < 40; ++i) {
        stream.WriteChars(block);
    }
    EXPECT_EQ(Stored().size(), TOrvelStream::WriteBufferSize);
    stream.Close();
    EXPECT_EQ(Stored(), std::string(40000, 'b'));
}

TEST_F(OrvelStream, DestructionFlushesPendingWrites) {
    {
        auto stream = TOrvelStream::CreateWrite(Files, Path);
        stream.WriteHeader("TRamLog", 5);
    }
    EXPECT_EQ(Stored().size(), 17u);
    EXPECT_EQ(Files.OpenHandles(), 0u);
}

TEST_F(OrvelStream, ARefusedFlushRaisesTheWriteErrorAndStillClosesTheFile) {
    Files.LimitFileSize(10);
    auto stream = TOrvelStream::CreateWrite(Files, Path);
    stream.WriteChars("twenty bytes, really");
    EXPECT_THROW_EXACTLY_MSG(stream.Close(), EWriteError, "Stream write error");
    EXPECT_EQ(Files.OpenHandles(), 0u);
    EXPECT_THROW_EXACTLY_MSG(stream.WriteByte(1), EWriteError, "Stream write error");
}

TEST_F(OrvelStream, ARefusedFlushOnDestructionIsSwallowed) {
    Files.LimitFileSize(10);
    EXPECT_NO_THROW({
        auto stream = TOrvelStream::CreateWrite(Files, Path);
        stream.WriteChars("twenty bytes, really");
    });
    EXPECT_EQ(Files.OpenHandles(), 0u);
}

TEST_F(OrvelStream, AWriteStreamReadsBackWhatItWrote) {
    auto stream = TOrvelStream::CreateWrite(Files, Path);
    stream.WriteInteger(7);
    stream.WriteInteger(8);
    stream.SetPosition(4);
    EXPECT_EQ(stream.ReadInteger(), 8);
    stream.SetPosition(0);
    stream.WriteSmallInt(-1);
    EXPECT_EQ(stream.AsBytes(), (TBytes{0xFF, 0xFF, 0, 0, 8, 0, 0, 0}));
    stream.Close();
    EXPECT_EQ(ToHex(Stored()), "FF FF 00 00 08 00 00 00");
}

TEST_F(OrvelStream, ReadsAcrossBufferBoundariesAndLargerThanTheBuffer) {
    std::string bytes;
    for (int i = 0; i < 100; ++i) {
        bytes.push_back(static_cast<char>(i));
    }
    Fs.AddFile(Path, bytes);
    auto stream = TOrvelStream::CreateRead(Files, Path, 16);
    EXPECT_EQ(stream.Size(), 100);
    EXPECT_EQ(stream.TryReadStringA(7), bytes.substr(0, 7));
    EXPECT_EQ(stream.TryReadStringA(40), bytes.substr(7, 40));
    stream.SetPosition(90);
    EXPECT_EQ(stream.TryReadStringA(5), bytes.substr(90, 5));
    stream.SetPosition(3);
    EXPECT_EQ(stream.TryReadStringA(20), bytes.substr(3, 20));
    EXPECT_EQ(stream.TryReadStringA(200), bytes.substr(23));
}

// Writers of many small records fill the stream's buffer in place; what they commit must land in
// the file exactly where the ordinary writes around it would have put it.
TEST_F(OrvelStream, InPlaceWritesMeetTheOrdinaryOnes) {
    auto stream = TOrvelStream::CreateWrite(Files, Path, 16);
    std::uint8_t* at = stream.ReserveWrite(6);
    ASSERT_NE(at, nullptr);
    std::memcpy(at, "abcdefgh", 6);
    stream.CommitWrite(4); // only "abcd" is handed over
    EXPECT_EQ(stream.Position(), 4);
    EXPECT_EQ(stream.Size(), 4);
    stream.WriteInteger(0x31323334);
    EXPECT_EQ(stream.ReserveWrite(17), nullptr) << "more than the buffer holds";
    at = stream.ReserveWrite(12); // the 8 pending bytes go to the file to make room
    ASSERT_NE(at, nullptr);
    std::memcpy(at, "ijklmnopqrst", 12);
    stream.CommitWrite(12);
    EXPECT_EQ(stream.Position(), 20);
    stream.SetPosition(2);
    stream.WriteChars("XY");
    stream.SetPosition(20);
    at = stream.ReserveWrite(2);
    ASSERT_NE(at, nullptr);
    std::memcpy(at, "uv", 2);
    stream.CommitWrite(2);
    stream.Close();
    EXPECT_EQ(Stored(), "abXY4321ijklmnopqrstuv");
    EXPECT_EQ(stream.ReserveWrite(1), nullptr) << "a closed stream offers nothing";
}

TEST_F(OrvelStream, InPlaceReadsSeeTheNextBytesAcrossRefills) {
    std::string bytes;
    for (int i = 0; i < 40; ++i) {
        bytes.push_back(static_cast<char>('A' + i));
    }
    Fs.AddFile(Path, bytes);
    auto stream = TOrvelStream::CreateRead(Files, Path, 16);
    const std::uint8_t* at = stream.PeekRead(4);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(at), 4), "ABCD");
    EXPECT_EQ(stream.Position(), 0) << "peeking reads nothing";
    stream.SkipRead(4);
    EXPECT_EQ(stream.ReadByte(), 'E');
    at = stream.PeekRead(16); // runs past the bytes cached: the buffer is filled from here
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(at), 16), bytes.substr(5, 16));
    EXPECT_EQ(stream.PeekRead(17), nullptr) << "more than the buffer holds";
    stream.SkipRead(16);
    EXPECT_EQ(stream.Position(), 21);
    EXPECT_EQ(stream.TryReadStringA(3), "VWX");
    stream.SetPosition(38);
    EXPECT_EQ(stream.PeekRead(4), nullptr) << "only two bytes are left";
    EXPECT_EQ(stream.Position(), 38);
    EXPECT_EQ(stream.TryReadStringA(4), bytes.substr(38));
}

TEST_F(OrvelStream, AMovedStreamWritesOnWhereItStood) {
    auto first = TOrvelStream::CreateWrite(Files, Path);
    first.WriteInteger(1);
    TOrvelStream second(std::move(first));
    second.WriteInteger(2);
    EXPECT_EQ(second.Position(), 8);
    second.Close();
    EXPECT_EQ(ToHex(Stored()), "01 00 00 00 02 00 00 00");
}

TEST_F(OrvelStream, ReadAfterCloseRaisesTheReadError) {
    auto stream = Over("abcd");
    stream.Close();
    EXPECT_THROW_EXACTLY_MSG(stream.ReadInteger(), EReadError, "Stream read error");
}

TEST_F(OrvelStream, StringLengthAboveTheLimitNamesBothNumbers) {
    EXPECT_THROW_EXACTLY_MSG(Over(Hex("0A000000") + "0123456789").ReadString(5), EOrvelException, "String too large: 10 bytes (SafetyLimit: 5)");
    EXPECT_THROW_EXACTLY_MSG(Over(Hex("FFFFFFFF")).ReadStringA(0xFFFFFFFE), EOrvelException, "String too large: -1 bytes (SafetyLimit: -2)");
}

TEST_F(OrvelStream, StringLengthPastTheEndIsRefusedBeforeReading) {
    const std::vector<std::function<void(TOrvelStream&)>> reads = {
        [](TOrvelStream& s) { s.ReadString(100); },
        [](TOrvelStream& s) { s.ReadStringA(100); },
    };
    for (const auto& read : reads) {
        auto stream = Over(Hex("0A000000") + "abcd");
        EXPECT_THROW_EXACTLY_MSG(read(stream), EOrvelException, "String too large. Trying to read: 10 bytes");
    }
    EXPECT_THROW_EXACTLY_MSG(Over(Hex("F0FFFFFF") + "abcd").ReadString(0xFFFFFFFF), EOrvelException, "String too large. Trying to read: 4294967280 bytes");
}

TEST_F(OrvelStream, CountedReadsCheckLimitThenBytesLeft) {
    const std::vector<std::function<void(TOrvelStream&, std::uint32_t, std::uint32_t)>> reads = {
        [](TOrvelStream& s, std::uint32_t n, std::uint32_t limit) { s.ReadStringCnt(n, limit); },
        [](TOrvelStream& s, std::uint32_t n, std::uint32_t limit) { s.ReadCharsA(n, limit); },
        [](TOrvelStream& s, std::uint32_t n, std::uint32_t limit) { s.ReadStringACnt(n, limit); },
    };
    for (const auto& read : reads) {
        auto first = Over("abcd");
        EXPECT_THROW_EXACTLY_MSG(read(first, 3, 2), EOrvelException, "String too large: 3 bytes (SafetyLimit: 2)");
        auto second = Over("abcd");
        EXPECT_THROW_EXACTLY_MSG(read(second, 5, 10), EOrvelException, "String too large. Trying to read: 5 bytes");
    }
}

TEST_F(OrvelStream, ReadStringsTakesTheBytesLeftAsLimit) {
    // The limit is measured before the length: 4 length bytes and 10 more.
    EXPECT_THROW_EXACTLY_MSG(Over(Hex("64000000") + "0123456789").ReadStrings(), EOrvelException, "String too large: 100 bytes (SafetyLimit: 14)");
}

} // namespace
} // namespace orvel
