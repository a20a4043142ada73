#pragma once
// Test failures show keys, prompts and record events as the record writes them.
#include "tools/termsim/Termsim.Record.h"

#include <ostream>
#include <string>

namespace termsim {

inline void PrintTo(const TRecordEvent& event, std::ostream* os) {
    std::string line = FormatRecordLine(event);
    line.pop_back();
    *os << line;
}

inline void PrintTo(const TKeyEvent& key, std::ostream* os) {
    PrintTo(TRecordEvent{key}, os);
}
inline void PrintTo(const TPromptState& state, std::ostream* os) {
    PrintTo(TRecordEvent{state}, os);
}

inline void PrintTo(const TCursor& cursor, std::ostream* os) {
    *os << cursor.Line << ',' << cursor.Column;
}

} // namespace termsim
