// The memory stream: what only it has, the messages that are its own, and files shared with the
// buffered file stream.
#include "framework/core/OrvelCore.StreamBuff.h"
#include "framework/core/OrvelCore.StreamMem.h"
#include "platform/sim/Sim.FileStreams.h"
#include "tests/Test.Support.h"
#include "tests/framework/core/OrvelCore.StreamTestSupport.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

using test::Hex;
using test::ToHex;

TKestroMemStream Over(const std::string& bytes) {
    TKestroMemStream stream;
    stream.PushData(bytes);
    stream.SetPosition(0);
    return stream;
}

std::string BytesOf(const TKestroMemStream& stream) {
    return std::string(stream.Data().begin(), stream.Data().end());
}

TEST(KestroMemStream, StartsEmptyAndGrowsOnWrite) {
    TKestroMemStream stream;
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.StringListSafetyLimit, 1048576u);
    stream.SetPosition(2);
    stream.WriteByte(7);
    EXPECT_EQ(ToHex(BytesOf(stream)), "00 00 07");
    EXPECT_EQ(stream.Position(), 3);
}

TEST(KestroMemStream, CreateFromStreamCopiesTheTailAndKeepsTheSourcePosition) {
    TKestroMemStream source = Over("abcdef");
    source.SetPosition(1);
    TKestroMemStream tail = TKestroMemStream::CreateFromStream(source, 2);
    EXPECT_EQ(BytesOf(tail), "cdef");
    EXPECT_EQ(tail.Position(), 0);
    EXPECT_EQ(source.Position(), 1);
}

TEST(KestroMemStream, CreateFromStreamAtOrPastTheEndIsEmpty) {
    TKestroMemStream source = Over("abc");
    source.SetPosition(1);
    EXPECT_EQ(TKestroMemStream::CreateFromStream(source, 3).Size(), 0);
    EXPECT_EQ(TKestroMemStream::CreateFromStream(source, 50).Size(), 0);
    EXPECT_EQ(source.Position(), 1);
}

TEST(KestroMemStream, CreateFromStreamRefusesANegativeStart) {
    TKestroMemStream source = Over("abc");
    EXPECT_THROW_EXACTLY_MSG(TKestroMemStream::CreateFromStream(source, -1), EOrvelException, "TKestroMemStream!");
}

TEST(KestroMemStream, CreateFromStreamTakesAFileStreamToo) {
    platform::sim::TSimFileSystem fs;
    platform::sim::TSimFileStreams files(fs);
    fs.AddFile(u"C:\\a.bin", std::string(3 * 1048576 / 2, 'q') + "end");
    auto file = TOrvelStream::CreateRead(files, u"C:\\a.bin");
    TKestroMemStream copy = TKestroMemStream::CreateFromStream(file, 10);
    EXPECT_EQ(copy.Size(), 3 * 1048576 / 2 + 3 - 10);
    copy.SetPosition(copy.Size() - 3);
    EXPECT_EQ(copy.TryReadStringA(3), "end");
    EXPECT_EQ(file.Position(), 0);
}

TEST(KestroMemStream, ReadStringAChecksTheBytesLeftBeforeTheLimit) {
    EXPECT_THROW_EXACTLY_MSG(Over(Hex("0A000000") + "abcd").ReadStringA(1024), EOrvelException, "String length (10) exceeds remaining file size!");
    EXPECT_THROW_EXACTLY_MSG(Over(Hex("D0070000") + std::string(2000, 'x')).ReadStringA(1024), EOrvelException, "String too large: 2000 bytes");
    EXPECT_EQ(Over(Hex("00000000")).ReadStringA(0), "");
}

TEST(KestroMemStream, ReadStringLimitMessageHasNoLimitInIt) {
    EXPECT_THROW_EXACTLY_MSG(Over(Hex("0A000000") + "0123456789").ReadString(5), EOrvelException, "String too large: 10 bytes");
    EXPECT_THROW_EXACTLY_MSG(Over(Hex("FFFFFFFF")).ReadString(5), EOrvelException, "String too large: -1 bytes");
}

// A length past the end must fail before the buffer for it is allocated: even a length near
// 4 GiB within the caller's limit gives the read error at once.
TEST(KestroMemStream, LengthsPastTheEndGiveTheReadErrorWithoutAllocating) {
    EXPECT_THROW_EXACTLY_MSG(Over(Hex("0A000000") + "abcd").ReadString(100), EReadError, "Stream read error");
    EXPECT_THROW_EXACTLY_MSG(Over(Hex("F0FFFFFF") + "abcd").ReadString(0xFFFFFFFF), EReadError, "Stream read error");
    EXPECT_THROW_EXACTLY_MSG(Over("abcd").ReadCharsA(0xFFFFFFF0, 0xFFFFFFFF), EReadError, "Stream read error");
}

TEST(KestroMemStream, ReadStringCntChecksTheBytesLeftFirst) {
    EXPECT_THROW_EXACTLY_MSG(Over("abcd").ReadStringCnt(10, 5), EOrvelException, "TKestroMemStream-Invalid string size! 10");
    EXPECT_THROW_EXACTLY_MSG(Over("abcd").ReadStringCnt(3, 2), EOrvelException, "String too large: 3 bytes");
    EXPECT_EQ(Over("abcd").ReadStringCnt(3, 3), u"abc");
}

TEST(KestroMemStream, ReadCharsAAndReadStringACntCheckOnlyTheLimit) {
    EXPECT_THROW_EXACTLY_MSG(Over("abcd").ReadCharsA(3, 2), EOrvelException, "String too large: 3 bytes");
    EXPECT_THROW_EXACTLY_MSG(Over("abcd").ReadStringACnt(3, 2), EOrvelException, "String too large: 3 bytes");
    TKestroMemStream stream = Over("abcd");
    stream.SetPosition(1);
    EXPECT_EQ(stream.ReadStringACnt(10, 10), "bcd");
    EXPECT_EQ(stream.ReadStringACnt(0xFFFFFFF0, 0xFFFFFFFF), "");
}

TEST(KestroMemStream, ReadStringsIsLimitedByStringListSafetyLimit) {
    TKestroMemStream stream;
    stream.WriteString(std::u16string(1048577, u'a'));
    stream.SetPosition(0);
    EXPECT_THROW_EXACTLY_MSG(stream.ReadStrings(), EOrvelException, "String too large: 1048577 bytes");

    stream.SetPosition(0);
    stream.StringListSafetyLimit = 1048577;
    const TStringList lines = stream.ReadStrings();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 1048577u);
}

TEST(KestroMemStream, PushDataReplacesTheContent) {
    TKestroMemStream stream;
    stream.WritePadding0(100);
    stream.PushData(std::string("abc"));
    EXPECT_EQ(BytesOf(stream), "abc");
    EXPECT_EQ(stream.Position(), 3);
    stream.PushData(TBytes{1, 2});
    EXPECT_EQ(ToHex(BytesOf(stream)), "01 02");
    stream.PushData(std::string());
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(KestroMemStream, RevReadSmallIntIsSignedBigEndian) {
    EXPECT_EQ(Over(Hex("FF FE")).RevReadSmallInt(), -2);
    EXPECT_EQ(Over(Hex("01 02")).RevReadSmallInt(), 0x0102);
}

TEST(KestroMemStream, CharIsOneByte) {
    TKestroMemStream stream;
    stream.WriteChar('\xE9');
    EXPECT_EQ(ToHex(BytesOf(stream)), "E9");
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadChar(), '\xE9');
}

class KestroMemStreamFiles : public ::testing::Test {
protected:
    platform::sim::TSimFileSystem Fs;
    platform::sim::TSimFileStreams Files{Fs};
    const std::u16string Path = u"C:\\data\\shared.logbin";

    void SetUp() override { Fs.AddFolder(u"C:\\data"); }
};

TEST_F(KestroMemStreamFiles, AFileWrittenByTheFileStreamReadsBackInMemory) {
    {
        auto file = TOrvelStream::CreateWrite(Files, Path);
        file.WriteHeader("TRamLog", 5);
        file.WriteString(u"\u20AC line");
        file.WriteIntegers({1, 2, 3});
        file.WriteDate(46000.5);
        file.WritePaddingValidation(64);
        file.Close();
    }
    TKestroMemStream stream;
    stream.WriteByte(99); // replaced by the load
    stream.LoadFromFile(Files, Path);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.ReadHeader("TRamLog"), 5);
    EXPECT_EQ(stream.ReadString(100), u"\u20AC line");
    std::vector<std::int32_t> ints;
    stream.ReadIntegers(ints);
    EXPECT_EQ(ints, (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(stream.ReadDate(), 46000.5);
    stream.ReadPaddingValidation(64);
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_EQ(Files.OpenHandles(), 0u);
}

TEST_F(KestroMemStreamFiles, SaveToFileWritesTheWholeContentForTheFileStream) {
    TKestroMemStream stream;
    stream.WriteHeader("TLogLines", 5);
    stream.WriteBoolean(true);
    stream.SetPosition(3); // the save does not depend on the position
    stream.SaveToFile(Files, Path);
    EXPECT_EQ(Fs.Contents(Path), BytesOf(stream));

    auto file = TOrvelStream::CreateRead(Files, Path);
    EXPECT_TRUE(file.ReadHeader("TLogLines", 5));
    EXPECT_TRUE(file.ReadBoolean());
}

TEST_F(KestroMemStreamFiles, LoadingAMissingFileRaisesAndKeepsTheContent) {
    TKestroMemStream stream = Over("keep");
    EXPECT_THROW_EXACTLY_MSG(stream.LoadFromFile(Files, u"C:\\data\\none.bin"), EReadError, "Cannot open file \"C:\\data\\none.bin\". The system cannot find the file specified.");
    EXPECT_EQ(BytesOf(stream), "keep");
}

TEST_F(KestroMemStreamFiles, SavingWhereNoFileCanBeCreatedRaisesTheFileCreateError) {
    TKestroMemStream stream = Over("x");
    EXPECT_THROW(stream.SaveToFile(Files, u"C:\\nowhere\\x.bin"), EFCreateError);
}

} // namespace
} // namespace orvel
