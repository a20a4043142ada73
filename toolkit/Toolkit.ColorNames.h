#pragma once
// Colours as text: the names of the toolkit's colour constants, "$" hexadecimal for the rest.
#include "toolkit/Toolkit.Exceptions.h"
#include "toolkit/Toolkit.Types.h"

#include <optional>
#include <string>
#include <string_view>

namespace toolkit {

// The colour's name when the table has one ("clRed", "clBtnFace"), else "$" and the 32-bit value
// as 8 upper-case hexadecimal digits ("$00336699").
std::u16string ColorToString(TColor Color);

// A name of the table (case-insensitive); "#RGB" or "#RRGGBB"; a decimal integer (a sign allowed)
// or "$"/"0x" hexadecimal of up to 8 digits, taken as the 32-bit pattern. Anything else raises
// EConvertError.
TColor StringToColor(std::u16string_view Text);

// The table alone: the colour of a name, or nothing.
std::optional<TColor> IdentToColor(std::u16string_view Ident);

} // namespace toolkit
