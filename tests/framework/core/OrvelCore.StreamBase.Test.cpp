// The binary conventions shared by both stream classes, run against each of them.
#include "framework/core/OrvelCore.StreamBase.h"
#include "framework/core/OrvelCore.StreamBuff.h"
#include "framework/core/OrvelCore.StreamMem.h"
#include "platform/sim/Sim.FileStreams.h"
#include "tests/Test.Support.h"
#include "tests/framework/core/OrvelCore.StreamTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace orvel {
namespace {

using test::Hex;
using test::ToHex;

using TWriteAction = std::function<void(TOrvelStreamBase&)>;

const std::string Pattern = "<##Brennhaven - Pattern of exactly 64 bytes for safety check.##>";

// The buffered file stream on the simulated file system.
struct TFileKind {
    static constexpr const char* Name = "TOrvelStream";
    platform::sim::TSimFileSystem Fs;
    platform::sim::TSimFileStreams Files{Fs};
    std::unique_ptr<TOrvelStream> Reader;

    TFileKind() { Fs.AddFolder(u"C:\\data"); }

    std::string Written(const TWriteAction& write) {
        auto stream = TOrvelStream::CreateWrite(Files, u"C:\\data\\out.bin");
        write(stream);
        stream.Close();
        return *Fs.Contents(u"C:\\data\\out.bin");
    }
    TOrvelStreamBase& Over(std::string bytes) {
        Reader.reset();
        Fs.AddFile(u"C:\\data\\in.bin", std::move(bytes));
        Reader = std::make_unique<TOrvelStream>(TOrvelStream::CreateRead(Files, u"C:\\data\\in.bin"));
        return *Reader;
    }
};

struct TMemKind {
    static constexpr const char* Name = "TKestroMemStream";
    TKestroMemStream Reader;

    std::string Written(const TWriteAction& write) {
        TKestroMemStream stream;
        write(stream);
        return std::string(stream.Data().begin(), stream.Data().end());
    }
    TOrvelStreamBase& Over(std::string bytes) {
        Reader.PushData(bytes);
        Reader.SetPosition(0);
        return Reader;
    }
};

template <typename TKind> class StreamConventions : public ::testing::Test {
protected:
    TKind Kind;
    std::vector<std::string> LogLines;

    std::string Written(const TWriteAction& write) { return Kind.Written(write); }
    // A stream over `bytes` at position 0 whose header error lines go to LogLines.
    TOrvelStreamBase& Over(std::string bytes) {
        TOrvelStreamBase& stream = Kind.Over(std::move(bytes));
        stream.SetErrorLineSink(
            [this](const std::u16string& line) { LogLines.push_back(base::Utf16ToUtf8(line)); });
        return stream;
    }
    std::string ClassName() const { return TKind::Name; }
};

using TKinds = ::testing::Types<TFileKind, TMemKind>;
TYPED_TEST_SUITE(StreamConventions, TKinds);

// --- layouts ---

TYPED_TEST(StreamConventions, FixedWidthValuesAreLittleEndianWithTheirExactWidths) {
    const std::string bytes = this->Written([](TOrvelStreamBase& s) {
        s.WriteBoolean(true);
        s.WriteByte(0xAB);
        s.WriteShortInt(-2);
        s.WriteSmallInt(-2);
        s.WriteWord(0x1234);
        s.WriteInteger(-2);
        s.WriteCardinal(0x01020304);
        s.WriteInt64(-2);
        s.WriteUInt64(0x0102030405060708);
        s.WriteSingle(1.0f);
        s.WriteDouble(1.0);
        s.WriteDate(2.5);
        s.WriteRect({1, -1, 2, 3});
        s.WriteRectF({1.0f, 0, 0, 0});
        s.WriteEnter();
    });
    EXPECT_EQ(ToHex(bytes),
              ToHex(Hex("01 AB FE FEFF 3412 FEFFFFFF 04030201 FEFFFFFFFFFFFFFF 0807060504030201"
                        "0000803F 000000000000F03F 0000000000000440"
                        "01000000 FFFFFFFF 02000000 03000000 0000803F 00000000 00000000 00000000"
                        "0D0A")));

    TOrvelStreamBase& s = this->Over(bytes);
    EXPECT_TRUE(s.ReadBoolean());
    EXPECT_EQ(s.ReadByte(), 0xAB);
    EXPECT_EQ(s.ReadShortInt(), -2);
    EXPECT_EQ(s.ReadSmallInt(), -2);
    EXPECT_EQ(s.ReadWord(), 0x1234);
    EXPECT_EQ(s.ReadInteger(), -2);
    EXPECT_EQ(s.ReadCardinal(), 0x01020304u);
    EXPECT_EQ(s.ReadInt64(), -2);
    EXPECT_EQ(s.ReadUInt64(), 0x0102030405060708u);
    EXPECT_EQ(s.ReadSingle(), 1.0f);
    EXPECT_EQ(s.ReadDouble(), 1.0);
    EXPECT_EQ(s.ReadDate(), 2.5);
    EXPECT_EQ(s.ReadRect(), (TRect{1, -1, 2, 3}));
    EXPECT_EQ(s.ReadRectF(), (TRectF{1.0f, 0, 0, 0}));
    EXPECT_TRUE(s.ReadEnter());
    EXPECT_EQ(s.Position(), s.Size());
}

// A reader that peeks and skips must never leave the stream somewhere else than the bytes it
// skipped, whether or not the bytes were at hand in place.
TYPED_TEST(StreamConventions, SkipReadMovesPastTheBytesWithOrWithoutAPeek) {
    auto& stream = this->Over("ABCDEFGHIJ");
    const std::uint8_t* at = stream.PeekRead(2);
    if (at != nullptr) {
        EXPECT_EQ(at[0], 'A');
    }
    stream.SkipRead(2);
    EXPECT_EQ(stream.Position(), 2);
    EXPECT_EQ(stream.PeekRead(std::size_t{1} << 40), nullptr) << "never at hand in one piece";
    stream.SkipRead(3);
    EXPECT_EQ(stream.Position(), 5);
    EXPECT_EQ(stream.ReadByte(), 'F');
}

TYPED_TEST(StreamConventions, CommittingRoomNeverReservedIsAnAssertionFailure) {
    const std::string written = this->Written([](TOrvelStreamBase& stream) {
        stream.WriteByte(1);
        EXPECT_THROW(stream.CommitWrite(std::size_t{1} << 40), base::EAssertionFailed);
        stream.WriteByte(2);
    });
    EXPECT_EQ(written, std::string("\x01\x02", 2));
}

TYPED_TEST(StreamConventions, AnyNonZeroByteReadsAsTrue) {
    TOrvelStreamBase& s = this->Over(Hex("02 FF 00"));
    EXPECT_TRUE(s.ReadBoolean());
    EXPECT_TRUE(s.ReadBoolean());
    EXPECT_FALSE(s.ReadBoolean());
}

TYPED_TEST(StreamConventions, ReadEnterIsFalseForLfCrAndConsumesBoth) {
    TOrvelStreamBase& s = this->Over(Hex("0A 0D"));
    EXPECT_FALSE(s.ReadEnter());
    EXPECT_EQ(s.Position(), 2);
}

TYPED_TEST(StreamConventions, RevReadsAreBigEndian) {
    TOrvelStreamBase& s = this->Over(Hex("1234 FFFFFFFE 01020304"));
    EXPECT_EQ(s.RevReadWord(), 0x1234);
    EXPECT_EQ(s.RevReadInteger(), -2);
    EXPECT_EQ(s.RevReadCardinal(), 0x01020304u);
}

TYPED_TEST(StreamConventions, ShortFixedWidthReadRaisesTheReadError) {
    TOrvelStreamBase& s = this->Over(Hex("01 02 03"));
    EXPECT_THROW_EXACTLY_MSG(s.ReadInteger(), EReadError, "Stream read error");
}

// --- header ---

TYPED_TEST(StreamConventions, HeaderForTRamLogVersion5IsSeventeenBytes) {
    const std::string bytes = this->Written([](TOrvelStreamBase& s) { s.WriteHeader("TRamLog", 5); });
    EXPECT_EQ(ToHex(bytes), ToHex(Hex("5A65566F 07000000") + "TRamLog" + Hex("0500")));
    EXPECT_EQ(this->Over(bytes).ReadHeader("TRamLog"), 5);
    EXPECT_TRUE(this->Over(bytes).ReadHeader("TRamLog", 5));
    EXPECT_FALSE(this->Over(bytes).ReadHeader("TRamLog", 4));
    EXPECT_TRUE(this->LogLines.empty());
}

TYPED_TEST(StreamConventions, SignatureOf64BytesIsAcceptedAnd65Refused) {
    const std::string sig64(64, 'S');
    EXPECT_EQ(this->Written([&](TOrvelStreamBase& s) { s.WriteHeader(sig64, 1); }).size(), 74u);
    EXPECT_EQ(
        this->Over(this->Written([&](TOrvelStreamBase& s) { s.WriteHeader(sig64, 1); })).ReadHeader(sig64),
        1);
    EXPECT_THROW_EXACTLY_MSG(this->Written([](TOrvelStreamBase& s) { s.WriteHeader(std::string(65, 'S'), 1); }), EAssertionFailed, "The Signature cannot be larger the 64 chars!");
}

struct THeaderCase {
    const char* Name;
    std::string Bytes;
    std::uint16_t Version;
    std::vector<std::string> Lines;
};

TYPED_TEST(StreamConventions, ReadHeaderGivesTheVersionOrZeroWithOneReason) {
    const std::string magic = Hex("5A65566F");
    const std::vector<THeaderCase> cases = {
        {"reversed magic", Hex("6F56655A 07000000") + "TRamLog" + Hex("0500"), 5, {}},
        {"other magic is silent", Hex("00000000 07000000") + "TRamLog" + Hex("0500"), 0, {}},
        {"three bytes", Hex("5A6556"), 0, {"Cannot read magic number for: TRamLog - Stream read error"}},
        {"no signature length",
         magic + Hex("0700"),
         0,
         {"Cannot read stream signature for: TRamLog - Stream read error"}},
        {"empty stored signature", magic + Hex("00000000 0500"), 0, {"Cannot read file signature: TRamLog"}},
        {"signature above 64",
         magic + Hex("41000000") + std::string(65, 'S') + Hex("0500"),
         0,
         {"ReadSignature: Signature larger than 64 bytes: 65 bytes", "Cannot read file signature: TRamLog"}},
        {"signature past the end",
         magic + Hex("08000000") + "TRamLog",
         0,
         {"ReadSignature: Signature length > file size!", "Cannot read file signature: TRamLog"}},
        {"other signature names the expected one",
         magic + Hex("07000000") + "TRamLoh" + Hex("0500"),
         0,
         {"Signature mismatch: TRamLog"}},
        {"case matters",
         magic + Hex("07000000") + "tramlog" + Hex("0500"),
         0,
         {"Signature mismatch: TRamLog"}},
        {"no version",
         magic + Hex("07000000") + "TRamLog" + Hex("05"),
         0,
         {"Cannot read stream version for: TRamLog - Stream read error"}},
    };
    for (const auto& c : cases) {
        this->LogLines.clear();
        EXPECT_EQ(this->Over(c.Bytes).ReadHeader("TRamLog"), c.Version) << c.Name;
        EXPECT_EQ(this->LogLines, c.Lines) << c.Name;
    }
}

TYPED_TEST(StreamConventions, ReadHeaderPreconditionsNameTheClass) {
    TOrvelStreamBase& s = this->Over(Hex("5A65566F"));
    EXPECT_THROW_EXACTLY_MSG(s.ReadHeader(""), EAssertionFailed, this->ClassName() + " - No signature provided!");
    EXPECT_THROW_EXACTLY_MSG(s.ReadHeader("TRamLog", 0), EAssertionFailed, this->ClassName() + " - Version must be > 0!");
}

// --- strings ---

struct TTextCase {
    std::u16string Text;
    std::string Layout;
};

TYPED_TEST(StreamConventions, WriteStringStoresTheUtf8ByteCount) {
    const std::vector<TTextCase> cases = {
        {u"", Hex("00000000")},
        {u"\u20AC", Hex("03000000 E282AC")},
        {u"\u00E9", Hex("02000000 C3A9")},
        {u"Hi", Hex("02000000 4869")},
    };
    for (const auto& c : cases) {
        const std::string bytes = this->Written([&](TOrvelStreamBase& s) { s.WriteString(c.Text); });
        EXPECT_EQ(ToHex(bytes), ToHex(c.Layout));
        TOrvelStreamBase& s = this->Over(bytes);
        EXPECT_EQ(s.ReadString(100), c.Text);
        EXPECT_EQ(s.Position(), s.Size());
    }
}

TYPED_TEST(StreamConventions, ByteStringsTravelUnchanged) {
    const std::string raw("\xFF\x00\x80z", 4);
    const std::string bytes = this->Written([&](TOrvelStreamBase& s) {
        s.WriteStringA(raw);
        s.WriteChars(raw);
        s.PushAnsi("ab");
        s.WriteChars(std::u16string_view(u"\u00E9"));
        s.PushString(u"");
    });
    EXPECT_EQ(ToHex(bytes), ToHex(Hex("04000000") + raw + raw + "ab" + Hex("C3A9")));
    TOrvelStreamBase& s = this->Over(bytes);
    EXPECT_EQ(s.ReadStringA(10), raw);
    EXPECT_EQ(s.ReadCharsA(4, 10), raw);
    EXPECT_EQ(s.ReadStringACnt(2, 10), "ab");
    EXPECT_EQ(s.ReadStringCnt(2, 10), u"\u00E9");
}

TYPED_TEST(StreamConventions, IllFormedUtf8BecomesReplacementCharacter) {
    EXPECT_EQ(this->Over(Hex("01000000 FF")).ReadString(10), u"\uFFFD");
}

TYPED_TEST(StreamConventions, ZeroCountsGiveEmptyStringsAndReadNothing) {
    TOrvelStreamBase& s = this->Over(Hex("41"));
    EXPECT_EQ(s.ReadChars(0), u"");
    EXPECT_EQ(s.ReadStringCnt(0, 10), u"");
    EXPECT_EQ(s.ReadCharsA(0, 10), "");
    EXPECT_EQ(s.ReadStringACnt(0, 10), "");
    EXPECT_EQ(s.TryReadStringA(0), "");
    EXPECT_EQ(s.Position(), 0);
}

TYPED_TEST(StreamConventions, TryReadStringAStopsAtTheEndWithoutRaising) {
    TOrvelStreamBase& s = this->Over("abc");
    EXPECT_EQ(s.TryReadStringA(10), "abc");
    EXPECT_EQ(s.TryReadStringA(10), "");
}

TYPED_TEST(StreamConventions, ReadCharsPastTheEndRaisesTheReadError) {
    TOrvelStreamBase& s = this->Over("abc");
    EXPECT_THROW_EXACTLY_MSG(s.ReadChars(5), EReadError, "Stream read error");
}

// --- string lists ---

TYPED_TEST(StreamConventions, WriteStringsWritesTheTextWithCrLfAfterEveryLine) {
    const std::string bytes = this->Written([](TOrvelStreamBase& s) {
        s.WriteStrings({u"a", u"", u"\u00E9"});
    });
    EXPECT_EQ(ToHex(bytes), ToHex(Hex("09000000") + "a\r\n\r\n" + Hex("C3A9") + "\r\n"));
    TStringList list = {u"old"};
    this->Over(bytes).ReadStrings(list);
    EXPECT_EQ(list, (TStringList{u"a", u"", u"\u00E9"}));
}

TYPED_TEST(StreamConventions, ReadStringsSplitsAtCrLfCrOrLf) {
    const std::string text = "a\rb\nc\r\nd";
    TOrvelStreamBase& s = this->Over(Hex("08000000") + text);
    EXPECT_EQ(s.ReadStrings(), (TStringList{u"a", u"b", u"c", u"d"}));
}

// --- byte blocks and views ---

TYPED_TEST(StreamConventions, ByteBlocksWithAndWithoutCount) {
    const std::string bytes = this->Written([](TOrvelStreamBase& s) {
        s.PushBytes({1, 2});
        s.PushBytesCnt({3, 4, 5});
        s.WriteCardinal(0);
    });
    EXPECT_EQ(ToHex(bytes), ToHex(Hex("0102 03000000 030405 00000000")));
    TOrvelStreamBase& s = this->Over(bytes);
    s.SetPosition(2);
    EXPECT_EQ(s.ReadByteChunk(), (TBytes{3, 4, 5}));
    EXPECT_EQ(s.ReadByteChunk(), TBytes{});
}

TYPED_TEST(StreamConventions, EmptyByteBlocksAreAssertionFailures) {
    EXPECT_THROW_EXACTLY_MSG(this->Written([](TOrvelStreamBase& s) { s.PushBytes({}); }), EAssertionFailed, "Buffer is zero!!");
    EXPECT_THROW_EXACTLY_MSG(this->Written([](TOrvelStreamBase& s) { s.PushBytesCnt({}); }), EAssertionFailed, "Buffer is zero!");
}

TYPED_TEST(StreamConventions, ByteChunkCountPastTheEndRaisesTheReadError) {
    TOrvelStreamBase& s = this->Over(Hex("FFFFFF7F 01"));
    EXPECT_THROW_EXACTLY_MSG(s.ReadByteChunk(), EReadError, "Stream read error");
}

TYPED_TEST(StreamConventions, AsBytesAndAsStringGiveTheWholeStreamFromTheStart) {
    TOrvelStreamBase& s = this->Over("xyz");
    s.SetPosition(2);
    EXPECT_EQ(s.AsBytes(), (TBytes{'x', 'y', 'z'}));
    s.SetPosition(1);
    EXPECT_EQ(s.AsString(), "xyz");
    EXPECT_THROW_EXACTLY_MSG(this->Over("").AsString(), EOrvelException, this->ClassName() + " is empty!");
}

// --- arrays ---

TYPED_TEST(StreamConventions, IntegerAndDoubleArraysRoundTrip) {
    const std::string bytes = this->Written([](TOrvelStreamBase& s) {
        s.WriteIntegers({7, -1});
        s.WriteDoubles({0.5});
        s.WriteIntegers({});
    });
    EXPECT_EQ(ToHex(bytes), ToHex(Hex("02000000 07000000 FFFFFFFF 01000000 000000000000E03F 00000000")));
    TOrvelStreamBase& s = this->Over(bytes);
    std::vector<std::int32_t> ints = {9};
    std::vector<double> doubles;
    s.ReadIntegers(ints);
    s.ReadDoubles(doubles);
    EXPECT_EQ(ints, (std::vector<std::int32_t>{7, -1}));
    EXPECT_EQ(doubles, std::vector<double>{0.5});
    s.ReadIntegers(ints);
    EXPECT_TRUE(ints.empty());
}

TYPED_TEST(StreamConventions, CorruptedArrayCountsAreRefusedAndLeaveTheArrayEmpty) {
    std::vector<std::int32_t> ints = {1, 2};
    EXPECT_THROW_EXACTLY_MSG(this->Over(Hex("FFFFFFFF")).ReadIntegers(ints), EOrvelException, "ReadIntegers: invalid count -1. File corrupted?");
    EXPECT_TRUE(ints.empty());
    ints = {1};
    EXPECT_THROW_EXACTLY_MSG(this->Over(Hex("03000000 01000000 02000000")).ReadIntegers(ints), EOrvelException, "ReadIntegers: invalid count 3. File corrupted?");
    EXPECT_TRUE(ints.empty());
    std::vector<double> doubles = {1.0};
    EXPECT_THROW_EXACTLY_MSG(this->Over(Hex("01000000 00000000")).ReadDoubles(doubles), EOrvelException, "ReadDoubles: invalid count 1. File corrupted?");
    EXPECT_TRUE(doubles.empty());
    EXPECT_THROW_EXACTLY_MSG(this->Over(Hex("00000080")).ReadDoubles(doubles), EOrvelException, "ReadDoubles: invalid count -2147483648. File corrupted?");
}

// --- checkpoints ---

TYPED_TEST(StreamConventions, CheckPointIsTheSixteenBytePrefixAndTheName) {
    const std::string bytes = this->Written([](TOrvelStreamBase& s) { s.WriteCheckPoint("A"); });
    EXPECT_EQ(ToHex(bytes), ToHex(Hex("11000000") + "<*>Checkpoint<*>A"));
    EXPECT_TRUE(this->Over(bytes).ReadCheckPoint("A"));

    TOrvelStreamBase& other = this->Over(bytes);
    EXPECT_FALSE(other.ReadCheckPoint("B"));
    EXPECT_EQ(other.Position(), other.Size());
    EXPECT_FALSE(this->Over(bytes).ReadCheckPoint("")); // the name is part of what is compared
    EXPECT_THROW_EXACTLY_MSG(this->Over(bytes).ReadCheckPointE("B"), EOrvelException, "Checkpoint failure! \r\nB");
}

// --- padding ---

TYPED_TEST(StreamConventions, PaddingValidationOf100IsThePatternAnd36Zeros) {
    const std::string bytes = this->Written([](TOrvelStreamBase& s) {
        s.WritePaddingValidation(100);
        s.WritePaddingValidation(8);
        s.WritePaddingValidation(0);
        s.WritePaddingValidation(-5);
        s.WritePadding0(3);
        s.WritePadding0(-1);
    });
    EXPECT_EQ(ToHex(bytes),
              ToHex(Pattern + std::string(36, '\0') + Pattern.substr(0, 8) + std::string(3, '\0')));

    TOrvelStreamBase& s = this->Over(bytes);
    s.ReadPaddingValidation(100);
    s.ReadPaddingValidation(8);
    s.ReadPaddingValidation(0);
    s.ReadPadding0(3);
    s.ReadPadding0(-1);
    EXPECT_EQ(s.Position(), s.Size());
}

TYPED_TEST(StreamConventions, BytesAfterTheSixtyFourthAreNotChecked) {
    std::string bytes = Pattern + std::string(36, '\0');
    bytes.back() = 'x';
    bytes[64] = 'y';
    TOrvelStreamBase& s = this->Over(bytes);
    s.ReadPaddingValidation(100);
    EXPECT_EQ(s.Position(), 100);
}

TYPED_TEST(StreamConventions, PaddingThatDiffersOrRunsPastTheEndIsRefused) {
    std::string wrong = Pattern.substr(0, 8);
    wrong[7] = '#';
    EXPECT_THROW_EXACTLY_MSG(this->Over(wrong).ReadPaddingValidation(8), EOrvelException, "Invalid checkpoint!!");
    EXPECT_THROW_EXACTLY_MSG(this->Over(Pattern + std::string(35, '\0')).ReadPaddingValidation(100), EAssertionFailed, "Read beyond stream!");
    EXPECT_THROW_EXACTLY_MSG(this->Over("ab").ReadPadding0(3), EAssertionFailed, "Read beyond stream!");
}

// --- helpers of the list text ---

TEST(StringListText, EveryLineIsFollowedByCrLf) {
    EXPECT_EQ(StringListText({}), u"");
    EXPECT_EQ(StringListText({u"a", u""}), u"a\r\n\r\n");
}

TEST(StringListText, SplittingKeepsEmptyLinesButNoneAfterAFinalBreak) {
    struct TCase {
        std::u16string Text;
        TStringList Lines;
    };
    const std::vector<TCase> cases = {
        {u"", {}},
        {u"a", {u"a"}},
        {u"a\r\n", {u"a"}},
        {u"\r\n", {u""}},
        {u"a\r\rb", {u"a", u"", u"b"}},
        {u"a\n\rb", {u"a", u"", u"b"}},
        {u"a\r\n\r\nb\n", {u"a", u"", u"b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitStringListText(c.Text), c.Lines) << base::Utf16ToUtf8(c.Text);
    }
}

} // namespace
} // namespace orvel
