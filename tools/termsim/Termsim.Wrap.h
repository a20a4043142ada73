#pragma once
// How the CLI breaks a line of its input box into rows: at blanks where a word would overflow,
// and a word longer than a row across rows (started on a fresh row when that saves a break).
// Nothing is dropped, so a row is a stretch of the line and a blank at a break ends the row
// before it.
#include <cstddef>
#include <string_view>
#include <vector>

namespace termsim {

// The offset where each row begins; the first is 0. A row ends where the next begins.
std::vector<std::size_t> WrapLine(std::u16string_view Line, std::size_t Width);

// Plain word wrapping for the CLI's own texts (results, dialogs): rows without the blank at each
// break.
std::vector<std::u16string_view> WrapText(std::u16string_view Text, std::size_t Width);

} // namespace termsim
