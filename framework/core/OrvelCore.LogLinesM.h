#pragma once
// TLogLinesMultiThreaded: a container of log lines that several threads may use at once. A
// multi-reader/single-writer lock guards the list: walks, indexed reads and writing a stream
// share the read lock; adding, clearing, snapshots and reading a stream take the write lock. The
// thread holding the write lock may use every operation again (reading a stream may log into
// this same container through the application's log). Count needs no lock: every change
// publishes the new count.
//
// Pointers handed out stay valid only while no thread clears or snapshots the container.
#include "framework/core/OrvelCore.LogLinesAbstract.h"
#include "framework/core/OrvelCore.RWLock.h"
#include "platform/Platform.Clock.h"

namespace orvel {

class TLogLinesMultiThreaded : public TAbstractLogLines {
public:
    // New lines are stamped from Clock, which must outlive the container and its snapshots and be
    // safe to read from every thread that adds lines.
    explicit TLogLinesMultiThreaded(const platform::IClock& Clock);
    ~TLogLinesMultiThreaded() override;

    PLogLine getItem(int Index) const override;
    void LockRead() const override;
    void UnlockRead() const override;
    void Clear() override;
    int Count() const override;
    int Add(std::unique_ptr<RLogLine> Value) override;
    // The time stamp is taken before the write lock, so two threads adding at once may store their
    // lines out of time order; under the lock the line is made and appended.
    PLogLine AddNewLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent) override;
    int AddStampedLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent,
                       platform::TDateTime Time) override;
    std::unique_ptr<TAbstractLogLines> SnapshotAndClear() override;
    void ReadFromStream(TOrvelStreamBase& Stream) override;
    void WriteToStream(TOrvelStreamBase& Stream) const override;

private:
    const platform::IClock& FClock;
    mutable TRWLock FLock;
};

} // namespace orvel
