#pragma once
// TLogLinesSingleThreaded: a container of log lines that takes no lock; one thread at a time.
#include "framework/core/OrvelCore.LogLinesAbstract.h"
#include "platform/Platform.Clock.h"

namespace orvel {

class TLogLinesSingleThreaded : public TAbstractLogLines {
public:
    // New lines are stamped from Clock, which must outlive the container and its snapshots.
    explicit TLogLinesSingleThreaded(const platform::IClock& Clock);
    ~TLogLinesSingleThreaded() override;

    PLogLine getItem(int Index) const override;
    void Clear() override;
    int Count() const override;
    int Add(std::unique_ptr<RLogLine> Value) override;
    PLogLine AddNewLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent) override;
    int AddStampedLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent,
                       platform::TDateTime Time) override;
    std::unique_ptr<TAbstractLogLines> SnapshotAndClear() override;

private:
    const platform::IClock& FClock;
};

} // namespace orvel
