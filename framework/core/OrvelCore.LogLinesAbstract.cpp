#include "framework/core/OrvelCore.LogLinesAbstract.h"

#include "base/Base.Format.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.StreamBase.h"

#include <algorithm>
#include <bit>
#include <string>
#include <utility>

namespace orvel {

namespace {

// Holds the container's read lock for one walk, released also when the walk raises.
class TReadBracket {
public:
    explicit TReadBracket(const TAbstractLogLines& Lines) : FLines(Lines) { FLines.LockRead(); }
    ~TReadBracket() { FLines.UnlockRead(); }
    TReadBracket(const TReadBracket&) = delete;
    TReadBracket& operator=(const TReadBracket&) = delete;

private:
    const TAbstractLogLines& FLines;
};

// A line in the stream: the message's 4-byte length and bytes, then these fixed fields: level (4),
// indent (4), bold (1), time (8) and the first 8 bytes of the validation pattern.
constexpr std::size_t LengthBytes = 4;
constexpr std::size_t FixedFieldBytes = 4 + 4 + 1 + 8 + 8;
constexpr std::size_t LinePatternBytes = 8;
// The least a line can take in a stream, for bounding what a stored count may reserve.
constexpr std::size_t SmallestLineBytes = LengthBytes + FixedFieldBytes;

EReadError InvalidLevel(std::int64_t Level) {
    return EReadError(base::Format(u"Invalid log verbosity level: {0}. Stream corrupted?", Level));
}

} // namespace

// --- the viewer's questions ---

int TAbstractLogLines::CountFiltered(TLogVerbLvl Verbosity) const {
    TReadBracket bracket(*this);
    return FIndex.CountAtLeast(Verbosity);
}

int TAbstractLogLines::Row2FilteredRow(int Row, TLogVerbLvl Verbosity) const {
    if (Row < 0) {
        return -1;
    }
    TReadBracket bracket(*this);
    return FIndex.FindPassing(Row, Verbosity);
}

int TAbstractLogLines::GetFilteredSlice(TLogVerbLvl Verbosity, int SkipCount,
                                        std::span<PLogLine> Buffer) const {
    Assert(SkipCount >= 0, u"GetFilteredSlice: SkipCount must be non-negative");
    if (Buffer.empty()) {
        return 0;
    }
    TReadBracket bracket(*this);
    const int passing = FIndex.CountAtLeast(Verbosity);
    if (SkipCount >= passing) {
        return 0;
    }
    const int wanted = static_cast<int>(std::min<std::size_t>(Buffer.size(), static_cast<std::size_t>(passing - SkipCount)));
    int index = FIndex.FindPassing(SkipCount, Verbosity);
    for (int stored = 0;; ++stored) {
        Buffer[static_cast<std::size_t>(stored)] = FList[static_cast<std::size_t>(index)];
        if (stored + 1 == wanted) {
            return wanted;
        }
        // Dense lines are found a few steps on; after a long stretch of others the marks find the
        // next one without looking at every line in between.
        const int next = FIndex.NextPassingNear(index, Verbosity);
        index = next >= 0 ? next : FIndex.FindPassing(SkipCount + stored + 1, Verbosity);
    }
}

void TAbstractLogLines::ForEachLocked(const TLogLineProc& Proc) const {
    Assert(static_cast<bool>(Proc), u"ForEachLocked: Proc cannot be nil");
    TReadBracket bracket(*this);
    // Lines added by Proc are not visited; should Proc shrink the list, the walk stops at its end
    // rather than reading past it.
    const std::size_t count = FList.size();
    for (std::size_t i = 0; i < count && i < FList.size(); ++i) {
        Proc(FList[i]);
    }
}

// --- the lines themselves ---

void TAbstractLogLines::Append(PLogLine Line) {
    // The list and the index grow first, so that a failed allocation leaves both as they were.
    FList.push_back(Line);
    try {
        FIndex.Append(Line->Level);
    } catch (...) {
        FList.pop_back();
        throw;
    }
    FCount.store(static_cast<int>(FList.size()), std::memory_order_release);
}

PLogLine TAbstractLogLines::AppendNew(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent,
                                      platform::TDateTime Time) {
    // A line the list could not take stays in the arena until the next clear; that is all a
    // failed allocation here costs.
    const PLogLine line = FArena.NewLine(Msg, Level, Bold, Indent, Time);
    Append(line);
    return line;
}

int TAbstractLogLines::AppendOwned(std::unique_ptr<RLogLine> Value) {
    FOwned.reserve(FOwned.size() + 1);
    Append(Value.get());
    FOwned.push_back(std::move(Value));
    return static_cast<int>(FList.size()) - 1;
}

void TAbstractLogLines::FreeAllLines() noexcept {
    FList.clear();
    FIndex.Clear();
    FOwned.clear();
    FArena.Clear();
    FCount.store(0, std::memory_order_release);
    FGeneration.fetch_add(1, std::memory_order_relaxed);
}

void TAbstractLogLines::MoveLinesTo(TAbstractLogLines& Into) noexcept {
    std::swap(FList, Into.FList);
    FIndex.Swap(Into.FIndex);
    std::swap(FOwned, Into.FOwned);
    FArena.Swap(Into.FArena);
    Into.FCount.store(static_cast<int>(Into.FList.size()), std::memory_order_release);
    FCount.store(static_cast<int>(FList.size()), std::memory_order_release);
    FGeneration.fetch_add(1, std::memory_order_relaxed);
}

PLogLine TAbstractLogLines::LineAt(int Index) const {
    if (Index < 0 || static_cast<std::size_t>(Index) >= FList.size()) {
        throw EOrvelException(
            base::Format(u"List index out of bounds ({0}); the list holds {1} lines", Index, FList.size()));
    }
    return FList[static_cast<std::size_t>(Index)];
}

void TAbstractLogLines::addInternal(PLogLine Value) {
    Assert(Value != nullptr, u"addInternal: Value cannot be nil");
    Append(Value);
}

// --- stream form ---

void TAbstractLogLines::WriteToStream(TOrvelStreamBase& Stream) const {
    Stream.WriteHeader(StreamSignature, StreamVersion);
    Stream.WriteInteger(static_cast<std::int32_t>(FList.size()));
    for (const PLogLine line : FList) {
        WriteLogLine(Stream, *line);
    }
    Stream.WritePaddingValidation(64);
}

void TAbstractLogLines::WriteLogLine(TOrvelStreamBase& Stream, const RLogLine& Line) {
    const std::u16string_view msg = Line.Msg.View();
    // Most lines are converted straight into the stream's buffer and their fixed fields written
    // there as one block; a line too long for the buffer takes the field-by-field way.
    if (std::uint8_t* at =
            Stream.ReserveWrite(LengthBytes + base::MaxUtf8BytesPerUnit * msg.size() + FixedFieldBytes)) {
        const std::size_t bytes = base::Utf16ToUtf8(msg, reinterpret_cast<char*>(at + LengthBytes));
        StoreLE(at, bytes, 4);
        std::uint8_t* field = at + LengthBytes + bytes;
        StoreLE(field, static_cast<std::uint32_t>(Line.Level), 4);
        StoreLE(field + 4, static_cast<std::uint32_t>(Line.Indent), 4);
        field[8] = Line.Bold ? 1 : 0;
        StoreLE(field + 9, std::bit_cast<std::uint64_t>(Line.Time), 8);
        std::copy_n(ValidationPattern.data(), LinePatternBytes, field + 17);
        Stream.CommitWrite(LengthBytes + bytes + FixedFieldBytes);
        return;
    }
    Stream.WriteString(msg);
    Stream.WriteInteger(static_cast<std::int32_t>(Line.Level));
    Stream.WriteInteger(Line.Indent);
    Stream.WriteBoolean(Line.Bold);
    Stream.WriteDate(Line.Time);
    Stream.WritePaddingValidation(LinePatternBytes);
}

void TAbstractLogLines::ReadFromStream(TOrvelStreamBase& Stream) {
    const std::uint16_t version = Stream.ReadHeader(StreamSignature);
    if (version == 0) {
        return; // ReadHeader has logged why
    }
    if (version != StreamVersion) {
        throw EOrvelException(u"Unsupported stream version.");
    }
    ReadLines(Stream);
    Stream.ReadPaddingValidation(64);
}

void TAbstractLogLines::ReadLines(TOrvelStreamBase& Stream) {
    const std::int32_t count = Stream.ReadInteger();
    if (count <= 0) {
        return;
    }
    // The count comes from the stream, so no more is reserved than the bytes left could hold: a
    // corrupted count runs into the end of the stream, not into a huge allocation.
    const auto fits = static_cast<std::size_t>(Stream.BytesLeft()) / SmallestLineBytes;
    const std::size_t room = FList.size() + std::min(static_cast<std::size_t>(count), fits);
    FList.reserve(room);
    FIndex.Reserve(room);
    for (std::int32_t i = 0; i < count; ++i) {
        if (!ReadLineInPlace(Stream)) {
            ReadLogLine(Stream);
        }
    }
}

bool TAbstractLogLines::ReadLineInPlace(TOrvelStreamBase& Stream) {
    const std::uint8_t* at = Stream.PeekRead(LengthBytes);
    if (at == nullptr) {
        return false;
    }
    const auto bytes = static_cast<std::uint32_t>(LoadLE(at, 4));
    // A length above the limit is refused by the stream's own string reader, in its own words.
    if (bytes > MsgSafetyLimit) {
        return false;
    }
    const std::size_t lineBytes = LengthBytes + bytes + FixedFieldBytes;
    at = Stream.PeekRead(lineBytes);
    if (at == nullptr) {
        return false;
    }
    const std::uint8_t* field = at + LengthBytes + bytes;
    const auto level = static_cast<std::int32_t>(LoadLE(field, 4));
    if (!IsLogVerbLvl(level)) {
        throw InvalidLevel(level);
    }
    TOrvelStreamBase::CheckValidationPattern(field + 17, LinePatternBytes);
    const PLogLine line = FArena.NewLineFromUtf8(std::string_view(reinterpret_cast<const char*>(at + LengthBytes), bytes),
                                                 static_cast<TLogVerbLvl>(level), field[8] != 0,
                                                 static_cast<std::int32_t>(LoadLE(field + 4, 4)),
                                                 std::bit_cast<double>(LoadLE(field + 9, 8)));
    Stream.SkipRead(lineBytes);
    addInternal(line);
    return true;
}

void TAbstractLogLines::ReadLogLine(TOrvelStreamBase& Stream) {
    // Nothing is made before every field has been read, so a line that fails half-way leaves
    // nothing behind.
    const std::u16string msg = Stream.ReadString(MsgSafetyLimit);
    const std::int32_t level = Stream.ReadInteger();
    if (!IsLogVerbLvl(level)) {
        throw InvalidLevel(level);
    }
    const std::int32_t indent = Stream.ReadInteger();
    const bool bold = Stream.ReadBoolean();
    const double time = Stream.ReadDate();
    Stream.ReadPaddingValidation(LinePatternBytes);
    addInternal(FArena.NewLine(msg, static_cast<TLogVerbLvl>(level), bold, indent, time));
}

} // namespace orvel
