#include "base/Base.Numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace base {

std::string FormatDouble(double Value, int SignificantDigits) {
    // Room for the longest fixed form: the 309 digits of the largest double, or the 326 places of
    // the smallest.
    char buffer[400];
    if (SignificantDigits > 0) {
        const int length = std::snprintf(buffer, sizeof buffer, "%.*g", SignificantDigits, Value);
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    if (!std::isfinite(Value)) {
        const int length = std::snprintf(buffer, sizeof buffer, "%g", Value);
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    // The fewest significant digits that read back the same (seventeen always do), written in
    // whichever of the fixed and the scientific form is shorter; the fixed one on a tie.
    int digits = 1;
    for (; digits < 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, Value);
        if (std::strtod(buffer, nullptr) == Value) {
            break;
        }
    }
    int length = std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, Value);
    const std::string scientific(buffer, static_cast<std::size_t>(length));
    const int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);
    const int decimals = digits - 1 - exponent > 0 ? digits - 1 - exponent : 0;
    length = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, Value);
    std::string fixed(buffer, static_cast<std::size_t>(length));
    return fixed.size() <= scientific.size() ? fixed : scientific;
}

std::optional<double> ParseDouble(std::string_view Text) {
    if (Text.empty()) {
        return std::nullopt;
    }
    const char first = Text.front() == '-' && Text.size() > 1 ? Text[1] : Text.front();
    const bool startsWell = (first >= '0' && first <= '9') || first == '.' || first == 'i' || first == 'I' ||
                            first == 'n' || first == 'N';
    if (!startsWell || Text.find_first_of("xX") != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string text(Text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE) {
        return std::nullopt;
    }
    return value;
}

} // namespace base
