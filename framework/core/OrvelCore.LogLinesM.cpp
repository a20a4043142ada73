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
    return lineAt(Index);
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
    TReadLockGuard guard(FLock);
    return static_cast<int>(FList.size());
}

int TLogLinesMultiThreaded::Add(std::unique_ptr<RLogLine> Value) {
    Assert(Value != nullptr, u"TLogLinesMultiThreaded.Add: Value cannot be nil");
    TWriteLockGuard guard(FLock);
    FList.push_back(std::move(Value));
    return static_cast<int>(FList.size()) - 1;
}

PLogLine TLogLinesMultiThreaded::AddNewLine(const std::u16string& Msg, TLogVerbLvl Level, bool Bold,
                                            int Indent) {
    auto line = MakeLine(Msg, Level, Bold, Indent, FClock.Now());
    const PLogLine result = line.get();
    TWriteLockGuard guard(FLock);
    FList.push_back(std::move(line));
    return result;
}

std::unique_ptr<TAbstractLogLines> TLogLinesMultiThreaded::SnapshotAndClear() {
    auto snapshot = std::make_unique<TLogLinesMultiThreaded>(FClock);
    TWriteLockGuard guard(FLock);
    // Only the reservation can fail; after it the pointers move without a chance of error.
    snapshot->FList.reserve(FList.size());
    for (auto& line : FList) {
        snapshot->FList.push_back(std::move(line));
    }
    FList.clear();
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
