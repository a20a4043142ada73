#include "framework/core/OrvelCore.LogLinesS.h"

#include "framework/core/OrvelCore.Exceptions.h"

#include <utility>

namespace orvel {

TLogLinesSingleThreaded::TLogLinesSingleThreaded(const platform::IClock& Clock) : FClock(Clock) {}

TLogLinesSingleThreaded::~TLogLinesSingleThreaded() {
    FreeAllLines();
}

PLogLine TLogLinesSingleThreaded::getItem(int Index) const {
    return lineAt(Index);
}

void TLogLinesSingleThreaded::Clear() {
    FreeAllLines();
}

int TLogLinesSingleThreaded::Count() const {
    return static_cast<int>(FList.size());
}

int TLogLinesSingleThreaded::Add(std::unique_ptr<RLogLine> Value) {
    Assert(Value != nullptr, u"TLogLinesSingleThreaded.Add: Value cannot be nil");
    FList.push_back(std::move(Value));
    return static_cast<int>(FList.size()) - 1;
}

PLogLine TLogLinesSingleThreaded::AddNewLine(const std::u16string& Msg, TLogVerbLvl Level, bool Bold,
                                             int Indent) {
    auto line = MakeLine(Msg, Level, Bold, Indent, FClock.Now());
    const PLogLine result = line.get();
    Add(std::move(line));
    return result;
}

std::unique_ptr<TAbstractLogLines> TLogLinesSingleThreaded::SnapshotAndClear() {
    auto snapshot = std::make_unique<TLogLinesSingleThreaded>(FClock);
    // Only the reservation can fail; after it the pointers move without a chance of error.
    snapshot->FList.reserve(FList.size());
    for (auto& line : FList) {
        snapshot->FList.push_back(std::move(line));
    }
    FList.clear();
    return snapshot;
}

} // namespace orvel
