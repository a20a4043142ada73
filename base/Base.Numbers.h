#pragma once
// Floating-point numbers as text, with a decimal point whatever the user's locale. Through the C
// library's printf and strtod (the program never changes the C locale): the standard's to_chars and
// from_chars for double would add about 200 KB of tables to the executable.
#include <optional>
#include <string>
#include <string_view>

namespace base {

// SignificantDigits 1..17 as printf's "%.Ng"; 0 gives the shortest text that reads back as the
// same number.
std::string FormatDouble(double Value, int SignificantDigits = 0);

// The whole text as a decimal number ("1.5", "-2e3", "inf", "nan"); nothing for anything else: no
// blanks, no leading '+', no hexadecimal, nothing out of range.
std::optional<double> ParseDouble(std::string_view Text);

} // namespace base
