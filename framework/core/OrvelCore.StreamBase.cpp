#include "framework/core/OrvelCore.StreamBase.h"

#include "base/Base.Format.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.Exceptions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

namespace orvel {

namespace {

constexpr std::uint32_t ReversedMagic = 0x5A65566F; // the magic's four bytes in reverse order

template <std::size_t N> std::uint64_t FromBigEndian(const std::array<std::uint8_t, N>& Bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < N; ++i) {
        value = (value << 8) | Bytes[i];
    }
    return value;
}

} // namespace

std::u16string StringListText(const TStringList& List) {
    std::u16string text;
    for (const auto& line : List) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

TStringList SplitStringListText(std::u16string_view Text) {
    TStringList lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < Text.size()) {
        const char16_t c = Text[i];
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        lines.emplace_back(Text.substr(start, i - start));
        if (c == u'\r' && i + 1 < Text.size() && Text[i + 1] == u'\n') {
            ++i;
        }
        ++i;
        start = i;
    }
    if (start < Text.size()) {
        lines.emplace_back(Text.substr(start));
    }
    return lines;
}

// --- primitives ---

void TOrvelStreamBase::ReadBufferSlow(void* Buffer, std::size_t Count) {
    if (Count != 0 && Read(Buffer, Count) != Count) {
        throw EReadError(u"Stream read error");
    }
}

void TOrvelStreamBase::WriteBufferSlow(const void* Buffer, std::size_t Count) {
    if (Count != 0 && Write(Buffer, Count) != Count) {
        throw EWriteError(u"Stream write error");
    }
}

std::int64_t TOrvelStreamBase::BytesLeft() const {
    return std::max<std::int64_t>(0, Size() - Position());
}

namespace {

template <std::size_t N> void WriteLE(TOrvelStreamBase& Stream, std::uint64_t Value) {
    std::array<std::uint8_t, N> bytes{};
    StoreLE(bytes.data(), Value, N);
    Stream.WriteBuffer(bytes.data(), N);
}

template <std::size_t N> std::uint64_t ReadLE(TOrvelStreamBase& Stream) {
    std::array<std::uint8_t, N> bytes{};
    Stream.ReadBuffer(bytes.data(), N);
    return LoadLE(bytes.data(), N);
}

template <std::size_t N> std::uint64_t ReadBE(TOrvelStreamBase& Stream) {
    std::array<std::uint8_t, N> bytes{};
    Stream.ReadBuffer(bytes.data(), N);
    return FromBigEndian(bytes);
}

} // namespace

// --- fixed-width values ---

void TOrvelStreamBase::WriteBoolean(bool Value) {
    WriteLE<1>(*this, Value ? 1 : 0);
}
bool TOrvelStreamBase::ReadBoolean() {
    return ReadLE<1>(*this) != 0;
}
void TOrvelStreamBase::WriteByte(std::uint8_t Value) {
    WriteLE<1>(*this, Value);
}
std::uint8_t TOrvelStreamBase::ReadByte() {
    return static_cast<std::uint8_t>(ReadLE<1>(*this));
}
void TOrvelStreamBase::WriteShortInt(std::int8_t Value) {
    WriteLE<1>(*this, static_cast<std::uint8_t>(Value));
}
std::int8_t TOrvelStreamBase::ReadShortInt() {
    return static_cast<std::int8_t>(ReadLE<1>(*this));
}
void TOrvelStreamBase::WriteSmallInt(std::int16_t Value) {
    WriteLE<2>(*this, static_cast<std::uint16_t>(Value));
}
std::int16_t TOrvelStreamBase::ReadSmallInt() {
    return static_cast<std::int16_t>(ReadLE<2>(*this));
}
void TOrvelStreamBase::WriteWord(std::uint16_t Value) {
    WriteLE<2>(*this, Value);
}
std::uint16_t TOrvelStreamBase::ReadWord() {
    return static_cast<std::uint16_t>(ReadLE<2>(*this));
}
void TOrvelStreamBase::WriteInteger(std::int32_t Value) {
    WriteLE<4>(*this, static_cast<std::uint32_t>(Value));
}
std::int32_t TOrvelStreamBase::ReadInteger() {
    return static_cast<std::int32_t>(ReadLE<4>(*this));
}
void TOrvelStreamBase::WriteCardinal(std::uint32_t Value) {
    WriteLE<4>(*this, Value);
}
std::uint32_t TOrvelStreamBase::ReadCardinal() {
    return static_cast<std::uint32_t>(ReadLE<4>(*this));
}
void TOrvelStreamBase::WriteInt64(std::int64_t Value) {
    WriteLE<8>(*this, static_cast<std::uint64_t>(Value));
}
std::int64_t TOrvelStreamBase::ReadInt64() {
    return static_cast<std::int64_t>(ReadLE<8>(*this));
}
void TOrvelStreamBase::WriteUInt64(std::uint64_t Value) {
    WriteLE<8>(*this, Value);
}
std::uint64_t TOrvelStreamBase::ReadUInt64() {
    return ReadLE<8>(*this);
}
void TOrvelStreamBase::WriteSingle(float Value) {
    WriteLE<4>(*this, std::bit_cast<std::uint32_t>(Value));
}
float TOrvelStreamBase::ReadSingle() {
    return std::bit_cast<float>(static_cast<std::uint32_t>(ReadLE<4>(*this)));
}
void TOrvelStreamBase::WriteDouble(double Value) {
    WriteLE<8>(*this, std::bit_cast<std::uint64_t>(Value));
}
double TOrvelStreamBase::ReadDouble() {
    return std::bit_cast<double>(ReadLE<8>(*this));
}
void TOrvelStreamBase::WriteDate(double Value) {
    WriteDouble(Value);
}
double TOrvelStreamBase::ReadDate() {
    return ReadDouble();
}

void TOrvelStreamBase::WriteRect(const TRect& Value) {
    WriteInteger(Value.Left);
    WriteInteger(Value.Top);
    WriteInteger(Value.Right);
    WriteInteger(Value.Bottom);
}

TRect TOrvelStreamBase::ReadRect() {
    TRect rect;
    rect.Left = ReadInteger();
    rect.Top = ReadInteger();
    rect.Right = ReadInteger();
    rect.Bottom = ReadInteger();
    return rect;
}

void TOrvelStreamBase::WriteRectF(const TRectF& Value) {
    WriteSingle(Value.Left);
    WriteSingle(Value.Top);
    WriteSingle(Value.Right);
    WriteSingle(Value.Bottom);
}

TRectF TOrvelStreamBase::ReadRectF() {
    TRectF rect;
    rect.Left = ReadSingle();
    rect.Top = ReadSingle();
    rect.Right = ReadSingle();
    rect.Bottom = ReadSingle();
    return rect;
}

void TOrvelStreamBase::WriteEnter() {
    const std::uint8_t bytes[2] = {13, 10};
    WriteBuffer(bytes, 2);
}

bool TOrvelStreamBase::ReadEnter() {
    std::uint8_t bytes[2] = {};
    ReadBuffer(bytes, 2);
    return bytes[0] == 13 && bytes[1] == 10;
}

// --- big-endian reads ---

std::uint16_t TOrvelStreamBase::RevReadWord() {
    return static_cast<std::uint16_t>(ReadBE<2>(*this));
}
std::int32_t TOrvelStreamBase::RevReadInteger() {
    return static_cast<std::int32_t>(ReadBE<4>(*this));
}
std::uint32_t TOrvelStreamBase::RevReadCardinal() {
    return static_cast<std::uint32_t>(ReadBE<4>(*this));
}

// --- checks shared by the variable-length reads ---

void TOrvelStreamBase::CheckSafetyLimit(std::uint32_t N, std::uint32_t SafetyLimit) {
    if (N > SafetyLimit) {
        throw EOrvelException(base::Format(u"String too large: {0} bytes (SafetyLimit: {1})",
                                           static_cast<std::int32_t>(N), static_cast<std::int32_t>(SafetyLimit)));
    }
}

void TOrvelStreamBase::EnsureAvailable(std::uint32_t N) const {
    if (Position() + static_cast<std::int64_t>(N) > Size()) {
        throw EOrvelException(base::Format(u"String too large. Trying to read: {0} bytes", N));
    }
}

std::string TOrvelStreamBase::ReadExactly(std::uint32_t N) {
    if (N == 0) {
        return {};
    }
    // A count beyond the end would fail the read anyway; failing before the allocation keeps a
    // corrupted count from reserving gigabytes first.
    if (static_cast<std::int64_t>(N) > BytesLeft()) {
        throw EReadError(u"Stream read error");
    }
    std::string bytes(N, '\0');
    ReadBuffer(bytes.data(), N);
    return bytes;
}

// --- length-prefixed strings ---

void TOrvelStreamBase::WriteString(std::u16string_view Value) {
    WriteStringA(base::Utf16ToUtf8(Value));
}

std::u16string TOrvelStreamBase::ReadString(std::uint32_t SafetyLimit) {
    const std::uint32_t n = ReadCardinal();
    CheckSafetyLimit(n, SafetyLimit);
    EnsureAvailable(n);
    return base::Utf8ToUtf16(ReadExactly(n));
}

void TOrvelStreamBase::WriteStringA(std::string_view Value) {
    WriteCardinal(static_cast<std::uint32_t>(Value.size()));
    WriteBuffer(Value.data(), Value.size());
}

std::string TOrvelStreamBase::ReadStringA(std::uint32_t SafetyLimit) {
    const std::uint32_t n = ReadCardinal();
    CheckSafetyLimit(n, SafetyLimit);
    EnsureAvailable(n);
    return ReadExactly(n);
}

void TOrvelStreamBase::WriteStrings(const TStringList& List) {
    WriteString(StringListText(List));
}

void TOrvelStreamBase::ReadStrings(TStringList& List) {
    List = SplitStringListText(ReadString(StringListLimit()));
}

TStringList TOrvelStreamBase::ReadStrings() {
    TStringList list;
    ReadStrings(list);
    return list;
}

// --- strings without a prefix ---

void TOrvelStreamBase::WriteChars(std::string_view Value) {
    WriteBuffer(Value.data(), Value.size());
}

void TOrvelStreamBase::WriteChars(std::u16string_view Value) {
    const std::string bytes = base::Utf16ToUtf8(Value);
    WriteBuffer(bytes.data(), bytes.size());
}

std::u16string TOrvelStreamBase::ReadChars(std::uint32_t Count) {
    return base::Utf8ToUtf16(ReadExactly(Count));
}

std::u16string TOrvelStreamBase::ReadStringCnt(std::uint32_t Count, std::uint32_t SafetyLimit) {
    if (Count == 0) {
        return {};
    }
    CheckSafetyLimit(Count, SafetyLimit);
    EnsureAvailable(Count);
    return base::Utf8ToUtf16(ReadExactly(Count));
}

std::string TOrvelStreamBase::ReadCharsA(std::uint32_t Count, std::uint32_t SafetyLimit) {
    if (Count == 0) {
        return {};
    }
    CheckSafetyLimit(Count, SafetyLimit);
    EnsureAvailable(Count);
    return ReadExactly(Count);
}

std::string TOrvelStreamBase::ReadStringACnt(std::uint32_t Count, std::uint32_t SafetyLimit) {
    CheckSafetyLimit(Count, SafetyLimit);
    EnsureAvailable(Count);
    std::string bytes(Count, '\0');
    bytes.resize(Count == 0 ? 0 : Read(bytes.data(), Count));
    return bytes;
}

std::string TOrvelStreamBase::TryReadStringA(std::uint32_t Count) {
    const auto n = static_cast<std::size_t>(std::min<std::int64_t>(Count, BytesLeft()));
    std::string bytes(n, '\0');
    bytes.resize(n == 0 ? 0 : Read(bytes.data(), n));
    return bytes;
}

// --- byte blocks and whole-stream views ---

void TOrvelStreamBase::PushBytes(const TBytes& Bytes) {
    Assert(!Bytes.empty(), u"Buffer is zero!!");
    WriteBuffer(Bytes.data(), Bytes.size());
}

void TOrvelStreamBase::PushBytesCnt(const TBytes& Buffer) {
    Assert(!Buffer.empty(), u"Buffer is zero!");
    WriteCardinal(static_cast<std::uint32_t>(Buffer.size()));
    WriteBuffer(Buffer.data(), Buffer.size());
}

TBytes TOrvelStreamBase::ReadByteChunk() {
    const std::string bytes = ReadExactly(ReadCardinal());
    return TBytes(bytes.begin(), bytes.end());
}

TBytes TOrvelStreamBase::AsBytes() {
    SetPosition(0);
    TBytes bytes(static_cast<std::size_t>(Size()));
    ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

std::string TOrvelStreamBase::AsString() {
    SetPosition(0);
    if (Size() == 0) {
        throw EOrvelException(std::u16string(ClassName()) + u" is empty!");
    }
    std::string bytes(static_cast<std::size_t>(Size()), '\0');
    ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

// --- arrays ---

void TOrvelStreamBase::WriteIntegers(const std::vector<std::int32_t>& List) {
    WriteInteger(static_cast<std::int32_t>(List.size()));
    for (const std::int32_t value : List) {
        WriteInteger(value);
    }
}

void TOrvelStreamBase::ReadIntegers(std::vector<std::int32_t>& List) {
    List.clear();
    const std::int32_t count = ReadInteger();
    if (count < 0 || static_cast<std::int64_t>(count) * 4 > BytesLeft()) {
        throw EOrvelException(base::Format(u"ReadIntegers: invalid count {0}. File corrupted?", count));
    }
    List.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        List.push_back(ReadInteger());
    }
}

void TOrvelStreamBase::WriteDoubles(const std::vector<double>& List) {
    WriteInteger(static_cast<std::int32_t>(List.size()));
    for (const double value : List) {
        WriteDouble(value);
    }
}

void TOrvelStreamBase::ReadDoubles(std::vector<double>& List) {
    List.clear();
    const std::int32_t count = ReadInteger();
    if (count < 0 || static_cast<std::int64_t>(count) * 8 > BytesLeft()) {
        throw EOrvelException(base::Format(u"ReadDoubles: invalid count {0}. File corrupted?", count));
    }
    List.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        List.push_back(ReadDouble());
    }
}

// --- header ---

void TOrvelStreamBase::WriteHeader(std::string_view Signature, std::uint16_t Version) {
    Assert(Signature.size() <= SignatureLimit, u"The Signature cannot be larger the 64 chars!");
    WriteCardinal(StreamMagic);
    WriteStringA(Signature);
    WriteWord(Version);
}

void TOrvelStreamBase::LogErrorLine(const std::u16string& Line) const {
    if (FErrorLineSink) {
        FErrorLineSink(Line);
    } else {
        TAppDataCore::LogError(Line);
    }
}

std::string TOrvelStreamBase::ReadSignature() {
    const std::uint32_t length = ReadCardinal();
    if (length > SignatureLimit) {
        LogErrorLine(base::Format(u"ReadSignature: Signature larger than 64 bytes: {0} bytes", length));
        return {};
    }
    if (static_cast<std::int64_t>(length) > BytesLeft()) {
        LogErrorLine(u"ReadSignature: Signature length > file size!");
        return {};
    }
    return ReadStringACnt(length, StoredNameReadLimit);
}

std::uint16_t TOrvelStreamBase::ReadHeader(std::string_view Signature) {
    Assert(!Signature.empty(), std::u16string(ClassName()) + u" - No signature provided!");
    // The lines name the signature the caller expected, never the one found.
    const std::u16string expected = base::Utf8ToUtf16(Signature);

    std::uint32_t magic = 0;
    try {
        magic = ReadCardinal();
    } catch (const EOrvelException& e) {
        LogErrorLine(u"Cannot read magic number for: " + expected + u" - " + e.Message());
        return 0;
    }
    if (magic != StreamMagic && magic != ReversedMagic) {
        return 0; // not a stream of this format at all: nothing worth logging
    }

    std::string stored;
    try {
        stored = ReadSignature();
    } catch (const EOrvelException& e) {
        LogErrorLine(u"Cannot read stream signature for: " + expected + u" - " + e.Message());
        return 0;
    }
    if (stored.empty()) {
        LogErrorLine(u"Cannot read file signature: " + expected);
        return 0;
    }
    if (stored != Signature) {
        LogErrorLine(u"Signature mismatch: " + expected);
        return 0;
    }

    try {
        return ReadWord();
    } catch (const EOrvelException& e) {
        LogErrorLine(u"Cannot read stream version for: " + expected + u" - " + e.Message());
        return 0;
    }
}

bool TOrvelStreamBase::ReadHeader(std::string_view Signature, std::uint16_t Version) {
    Assert(Version > 0, std::u16string(ClassName()) + u" - Version must be > 0!");
    const std::uint16_t found = ReadHeader(Signature);
    return found != 0 && found == Version;
}

// --- checkpoints ---

void TOrvelStreamBase::WriteCheckPoint(std::string_view Name) {
    std::string text(CheckpointPrefix);
    text += Name;
    WriteStringA(text);
}

bool TOrvelStreamBase::ReadCheckPoint(std::string_view Name) {
    const std::string stored = ReadStringA(StoredNameReadLimit);
    return stored.size() == CheckpointPrefix.size() + Name.size() && stored.starts_with(CheckpointPrefix) &&
           stored.ends_with(Name);
}

void TOrvelStreamBase::ReadCheckPointE(std::string_view Name) {
    if (!ReadCheckPoint(Name)) {
        throw EOrvelException(u"Checkpoint failure! \r\n" + base::Utf8ToUtf16(Name));
    }
}

// --- padding ---

void TOrvelStreamBase::WritePadding0(std::int32_t Bytes) {
    if (Bytes <= 0) {
        return;
    }
    const std::array<std::uint8_t, 256> zeros{};
    auto left = static_cast<std::size_t>(Bytes);
    while (left > 0) {
        const std::size_t step = std::min(left, zeros.size());
        WriteBuffer(zeros.data(), step);
        left -= step;
    }
}

void TOrvelStreamBase::ReadPadding0(std::int32_t Bytes) {
    if (Bytes <= 0) {
        return;
    }
    Assert(BytesLeft() >= Bytes, u"Read beyond stream!");
    SetPosition(Position() + Bytes);
}

void TOrvelStreamBase::WritePaddingValidation(std::int32_t Bytes) {
    if (Bytes <= 0) {
        return;
    }
    const auto checked = std::min<std::size_t>(static_cast<std::size_t>(Bytes), ValidationPattern.size());
    WriteBuffer(ValidationPattern.data(), checked);
    WritePadding0(Bytes - static_cast<std::int32_t>(checked));
}

void TOrvelStreamBase::RaiseInvalidCheckpoint() {
    throw EOrvelException(u"Invalid checkpoint!!");
}

void TOrvelStreamBase::ReadPaddingValidation(std::int32_t Bytes) {
    if (Bytes <= 0) {
        return;
    }
    Assert(BytesLeft() >= Bytes, u"Read beyond stream!");
    const auto checked = std::min<std::size_t>(static_cast<std::size_t>(Bytes), ValidationPattern.size());
    std::array<std::uint8_t, ValidationPattern.size()> found{};
    ReadBuffer(found.data(), checked);
    CheckValidationPattern(found.data(), checked);
    // What follows the pattern is zero padding and is not checked.
    SetPosition(Position() + (Bytes - static_cast<std::int32_t>(checked)));
}

} // namespace orvel
