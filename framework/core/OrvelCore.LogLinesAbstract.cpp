#include "framework/core/OrvelCore.LogLinesAbstract.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.StreamBase.h"

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

std::u16string Decimal(long long Value) {
    return base::AsciiToUtf16(std::to_string(Value));
}

} // namespace

int TAbstractLogLines::CountFiltered(TLogVerbLvl Verbosity) const {
    TReadBracket bracket(*this);
    int passing = 0;
    for (const auto& line : FList) {
        if (PassesFilter(line->Level, Verbosity)) {
            ++passing;
        }
    }
    return passing;
}

int TAbstractLogLines::Row2FilteredRow(int Row, TLogVerbLvl Verbosity) const {
    if (Row < 0) {
        return -1;
    }
    TReadBracket bracket(*this);
    int passing = 0;
    const std::size_t count = FList.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (PassesFilter(FList[i]->Level, Verbosity)) {
            if (passing == Row) {
                return static_cast<int>(i);
            }
            ++passing;
        }
    }
    return -1;
}

int TAbstractLogLines::GetFilteredSlice(TLogVerbLvl Verbosity, int SkipCount,
                                        std::span<PLogLine> Buffer) const {
    Assert(SkipCount >= 0, u"GetFilteredSlice: SkipCount must be non-negative");
    if (Buffer.empty()) {
        return 0;
    }
    TReadBracket bracket(*this);
    int skipped = 0;
    std::size_t stored = 0;
    for (const auto& line : FList) {
        if (!PassesFilter(line->Level, Verbosity)) {
            continue;
        }
        if (skipped < SkipCount) {
            ++skipped;
            continue;
        }
        Buffer[stored++] = line.get();
        if (stored == Buffer.size()) {
            break;
        }
    }
    return static_cast<int>(stored);
}

void TAbstractLogLines::ForEachLocked(const TLogLineProc& Proc) const {
    Assert(static_cast<bool>(Proc), u"ForEachLocked: Proc cannot be nil");
    TReadBracket bracket(*this);
    // Lines added by Proc are not visited; should Proc shrink the list, the walk stops at its end
    // rather than reading past it.
    const std::size_t count = FList.size();
    for (std::size_t i = 0; i < count && i < FList.size(); ++i) {
        Proc(FList[i].get());
    }
}

void TAbstractLogLines::FreeAllLines() noexcept {
    for (auto& line : FList) {
        line.reset();
    }
    FList.clear();
}

PLogLine TAbstractLogLines::lineAt(int Index) const {
    if (Index < 0 || static_cast<std::size_t>(Index) >= FList.size()) {
        throw EOrvelException(u"List index out of bounds (" + Decimal(Index) + u"); the list holds " +
                              Decimal(static_cast<long long>(FList.size())) + u" lines");
    }
    return FList[static_cast<std::size_t>(Index)].get();
}

std::unique_ptr<RLogLine> TAbstractLogLines::MakeLine(const std::u16string& Msg, TLogVerbLvl Level, bool Bold,
                                                      int Indent, platform::TDateTime Now) {
    auto line = std::make_unique<RLogLine>();
    line->Msg = Msg;
    line->Level = Level;
    line->Bold = Bold;
    line->Time = Now;
    line->Indent = Indent;
    return line;
}

void TAbstractLogLines::addInternal(std::unique_ptr<RLogLine> Value) {
    Assert(Value != nullptr, u"addInternal: Value cannot be nil");
    FList.push_back(std::move(Value));
}

// --- stream form ---

void TAbstractLogLines::WriteToStream(TOrvelStreamBase& Stream) const {
    Stream.WriteHeader(StreamSignature, StreamVersion);
    Stream.WriteInteger(static_cast<std::int32_t>(FList.size()));
    for (const auto& line : FList) {
        WriteLogLine(Stream, *line);
    }
    Stream.WritePaddingValidation(64);
}

void TAbstractLogLines::WriteLogLine(TOrvelStreamBase& Stream, const RLogLine& Line) {
    Stream.WriteString(Line.Msg);
    Stream.WriteInteger(static_cast<std::int32_t>(Line.Level));
    Stream.WriteInteger(Line.Indent);
    Stream.WriteBoolean(Line.Bold);
    Stream.WriteDate(Line.Time);
    Stream.WritePaddingValidation(8);
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
    // The count comes from the stream, so nothing is reserved for it: a corrupted count must run
    // into the end of the stream, not into a huge allocation.
    const std::int32_t count = Stream.ReadInteger();
    for (std::int32_t i = 0; i < count; ++i) {
        auto line = std::make_unique<RLogLine>();
        ReadLogLine(Stream, *line);
        addInternal(std::move(line));
    }
}

void TAbstractLogLines::ReadLogLine(TOrvelStreamBase& Stream, RLogLine& Line) {
    Line.Msg = Stream.ReadString(MsgSafetyLimit);
    const std::int32_t level = Stream.ReadInteger();
    if (!IsLogVerbLvl(level)) {
        throw EReadError(u"Invalid log verbosity level: " + Decimal(level) + u". Stream corrupted?");
    }
    Line.Level = static_cast<TLogVerbLvl>(level);
    Line.Indent = Stream.ReadInteger();
    Line.Bold = Stream.ReadBoolean();
    Line.Time = Stream.ReadDate();
    Stream.ReadPaddingValidation(8);
}

} // namespace orvel
