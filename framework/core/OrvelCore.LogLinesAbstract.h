#pragma once
// TAbstractLogLines: an ordered list of log lines, oldest first, that owns its lines. It answers
// everything that does not depend on locking (filtered counting and slicing for the log viewer,
// the whole-list walk, the stream form); the concrete containers add creation, clearing, counting,
// indexed access, the snapshot hand-over and the locking.
//
// Every whole-list walk calls LockRead before it reads the list and UnlockRead after it, also
// when the walk ends early or raises. Here both hooks are empty; a container shared between
// threads maps them to its read lock.
//
// Lines are made in the container's arena (record and text in one piece, freed together on a
// clear) and their levels are kept in a level index, so counting the lines that pass a filter and
// finding any page of them never walks the list.
#include "framework/core/OrvelCore.LogArena.h"
#include "framework/core/OrvelCore.LogLevelIndex.h"
#include "framework/core/OrvelCore.LogTypes.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

class TOrvelStreamBase;

// Called once per line by ForEachLocked.
using TLogLineProc = std::function<void(PLogLine)>;

class TAbstractLogLines {
public:
    // Signature and version of the list-of-lines block in a stream.
    static constexpr char StreamSignature[] = "TLogLines";
    static constexpr std::uint16_t StreamVersion = 5;
    // The longest message, in UTF-8 bytes, that reading a stream accepts.
    static constexpr std::uint32_t MsgSafetyLimit = 16777216;

    TAbstractLogLines() = default;
    TAbstractLogLines(const TAbstractLogLines&) = delete;
    TAbstractLogLines& operator=(const TAbstractLogLines&) = delete;
    virtual ~TAbstractLogLines() = default;

    // The line at Index (0 is the oldest). An index outside 0 to Count() - 1 raises.
    PLogLine Items(int Index) const { return getItem(Index); }

    virtual PLogLine getItem(int Index) const = 0;
    virtual void LockRead() const {}
    virtual void UnlockRead() const {}
    // Frees every line, oldest first, and empties the list.
    virtual void Clear() = 0;
    virtual int Count() const = 0;
    // The number of lines whose level passes Verbosity.
    virtual int CountFiltered(TLogVerbLvl Verbosity) const;
    // The index in the whole list of the line that is number Row (from 0) among the lines that
    // pass Verbosity; -1 when Row is negative or fewer lines pass.
    virtual int Row2FilteredRow(int Row, TLogVerbLvl Verbosity) const;
    // Skips the first SkipCount passing lines, then stores the following passing lines into Buffer
    // until it is full or the list ends; gives the number stored. Allocates nothing.
    virtual int GetFilteredSlice(TLogVerbLvl Verbosity, int SkipCount, std::span<PLogLine> Buffer) const;
    // Calls Proc for every line, oldest first, with the read lock held throughout. The walk covers
    // the lines present when it starts.
    virtual void ForEachLocked(const TLogLineProc& Proc) const;
    // Takes ownership of Value and appends it; gives its index. A missing line fails an assertion
    // and leaves the list unchanged.
    virtual int Add(std::unique_ptr<RLogLine> Value) = 0;
    // Creates a line stamped with the current local time and appends it. The container keeps
    // owning the line.
    virtual PLogLine AddNewLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent) = 0;
    // Creates and appends a line stamped with Time, for a caller that read the clock already;
    // gives the number of lines right after the append.
    virtual int AddStampedLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent,
                               platform::TDateTime Time) = 0;
    // Moves every line, in order, into a new container of the same kind and leaves this one
    // empty and usable. The caller owns the new container.
    virtual std::unique_ptr<TAbstractLogLines> SnapshotAndClear() = 0;
    // Appends the lines of a list-of-lines block; the list is not cleared first. A missing or
    // foreign block header reads nothing more and leaves the list unchanged; lines read before an
    // error stay in the list.
    virtual void ReadFromStream(TOrvelStreamBase& Stream);
    virtual void WriteToStream(TOrvelStreamBase& Stream) const;

    // Moves on whenever lines leave the container (a clear, a snapshot): a line noted together
    // with the generation is still held as long as the generation has not moved. Read it under
    // the read lock.
    std::uint64_t Generation() const { return FGeneration.load(std::memory_order_relaxed); }

protected:
    // Frees every line and empties the list. Takes no lock.
    void FreeAllLines() noexcept;
    // The line at Index, with the bounds check. Takes no lock.
    PLogLine LineAt(int Index) const;
    // Makes a line in this container's arena and appends it; gives the line. Takes no lock.
    PLogLine AppendNew(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent, platform::TDateTime Time);
    // Takes a line made on its own and appends it; gives its index. Takes no lock.
    int AppendOwned(std::unique_ptr<RLogLine> Value);
    // Hands every line, its storage and its index to Into, which must be empty, and leaves this
    // container empty. Cannot fail. Takes no lock.
    void MoveLinesTo(TAbstractLogLines& Into) noexcept;
    // The number of lines as last published by a change; readable without any lock.
    int PublishedCount() const { return FCount.load(std::memory_order_acquire); }

private:
    // Appends without any locking; only for reading a stream.
    void addInternal(PLogLine Value);
    void Append(PLogLine Line);
    void ReadLines(TOrvelStreamBase& Stream);
    // Reads one line from the stream's buffer in place; false, with nothing read, when the line is
    // not at hand in one piece or its length is one the stream itself must refuse.
    bool ReadLineInPlace(TOrvelStreamBase& Stream);
    void ReadLogLine(TOrvelStreamBase& Stream);
    static void WriteLogLine(TOrvelStreamBase& Stream, const RLogLine& Line);

    std::vector<PLogLine> FList;
    TLogLineArena FArena;
    std::vector<std::unique_ptr<RLogLine>> FOwned; // lines handed in through Add
    TLogLevelIndex FIndex;
    std::atomic<int> FCount{0};
    std::atomic<std::uint64_t> FGeneration{0};
};

} // namespace orvel
