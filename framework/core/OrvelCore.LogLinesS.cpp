#include "framework/core/OrvelCore.LogLinesS.h"

#include "framework/core/OrvelCore.Exceptions.h"

#include <utility>

namespace orvel {

TLogLinesSingleThreaded::TLogLinesSingleThreaded(const platform::IClock& Clock) : FClock(Clock) {}

TLogLinesSingleThreaded::~TLogLinesSingleThreaded() {
    FreeAllLines();
}

PLogLine TLogLinesSingleThreaded::getItem(int Index) const {
    return LineAt(Index);
}

void TLogLinesSingleThreaded::Clear() {
    FreeAllLines();
}

int TLogLinesSingleThreaded::Count() const {
    return PublishedCount();
}

int TLogLinesSingleThreaded::Add(std::unique_ptr<RLogLine> Value) {
    Assert(Value != nullptr, u"TLogLinesSingleThreaded.Add: Value cannot be nil");
    return AppendOwned(std::move(Value));
}

PLogLine TLogLinesSingleThreaded::AddNewLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent) {
    return AppendNew(Msg, Level, Bold, Indent, FClock.Now());
}

int TLogLinesSingleThreaded::AddStampedLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, int Indent,
                                            platform::TDateTime Time) {
    AppendNew(Msg, Level, Bold, Indent, Time);
    return PublishedCount();
}

std::unique_ptr<TAbstractLogLines> TLogLinesSingleThreaded::SnapshotAndClear() {
    auto snapshot = std::make_unique<TLogLinesSingleThreaded>(FClock);
    // The lines, their storage and their index change hands whole: nothing is copied.
    MoveLinesTo(*snapshot);
    return snapshot;
}

} // namespace orvel
