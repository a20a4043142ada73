#include "framework/core/OrvelCore.LogLinesM.h"

#include "framework/core/OrvelCore.Exceptions.h"

#include <utility>

namespace orvel {

TLogLinesMultiThreaded::TLogLinesMultiThreaded(const platform::IClock& Clock) : FClock(Clock) {}

TLogLinesMultiThreaded::~TLogLinesMultiThreaded() {
    // No other thread may still use a container that is being destroyed, so no lock is taken:
    // a destructor must not fail on a lock.
    FreeAllLines();
}

PLogLine TLogLinesMultiThreaded::getItem(int Index) const {
    TReadLockGuard guard(FLock);
    return LineAt(Index);
}

void TLogLinesMultiThreaded::LockRead() const {
    FLock.BeginRead();
}

void TLogLinesMultiThreaded::UnlockRead() const {
    FLock.EndRead();
}

void TLogLinesMultiThreaded::Clear() {
    TWriteLockGuard guard(FLock);
    FreeAllLines();
}

int TLogLinesMultiThreaded::Count() const {
    return PublishedCount();
}

int TLogLinesMultiThreaded::Add(std::unique_ptr<RLogLine> Value) {
    Assert(Value != nullptr, u"TLogLinesMultiThreaded.Add: Value cannot be nil");
    TWriteLockGuard guard(FLock);
    return AppendOwned(std::move(Value));
}

PLogLine TLogLinesMultiThreaded::AddNewLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent) {
    const platform::TDateTime now = FClock.Now();
    TWriteLockGuard guard(FLock);
    return AppendNew(Msg, Level, Bold, Indent, now);
}

int TLogLinesMultiThreaded::AddStampedLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent,
                                           platform::TDateTime Time) {
    TWriteLockGuard guard(FLock);
    AppendNew(Msg, Level, Bold, Indent, Time);
    return PublishedCount();
}

std::unique_ptr<TAbstractLogLines> TLogLinesMultiThreaded::SnapshotAndClear() {
    auto snapshot = std::make_unique<TLogLinesMultiThreaded>(FClock);
    TWriteLockGuard guard(FLock);
    // The lines, their storage and their index change hands whole: nothing is copied.
    MoveLinesTo(*snapshot);
    return snapshot;
}

void TLogLinesMultiThreaded::ReadFromStream(TOrvelStreamBase& Stream) {
    TWriteLockGuard guard(FLock);
    TAbstractLogLines::ReadFromStream(Stream);
}

void TLogLinesMultiThreaded::WriteToStream(TOrvelStreamBase& Stream) const {
    TReadLockGuard guard(FLock);
    TAbstractLogLines::WriteToStream(Stream);
}

} // namespace orvel
