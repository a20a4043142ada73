#pragma once
// Reads back the record termsim writes (format in Termsim.Record.h).
#include "tools/termsim/Termsim.Record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace termsim {

// The text of an escaped form (no quotes around it); nullopt for a broken escape.
std::optional<std::u16string> UnescapeText(std::u16string_view Escaped);

// One line without its '\n'; nullopt when it is not a record line.
std::optional<TRecordEvent> ParseRecordLine(std::string_view Line);

// Every complete line of a record file. A last line without its '\n' is still being written
// and is left for a later read. Throws std::runtime_error naming a line that does not parse.
std::vector<TRecordEvent> ParseRecord(std::string_view Content);

} // namespace termsim
