#include "platform/sim/Sim.TimeFormat.h"

namespace platform::sim {
namespace {

void AppendTwoDigits(std::u16string& text, std::uint32_t value) {
    text += static_cast<char16_t>(u'0' + value / 10);
    text += static_cast<char16_t>(u'0' + value % 10);
}

} // namespace

std::u16string TSimTimeFormat::LongTimeText(TDateTime value) const {
    const std::uint32_t seconds = TimeOfDayMs(value) / 1000;
    std::u16string text;
    AppendTwoDigits(text, seconds / 3600);
    text += u':';
    AppendTwoDigits(text, seconds / 60 % 60);
    text += u':';
    AppendTwoDigits(text, seconds % 60);
    return text;
}

} // namespace platform::sim
