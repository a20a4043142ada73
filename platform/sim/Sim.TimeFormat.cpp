#include "platform/sim/Sim.TimeFormat.h"

namespace platform::sim {
namespace {

void AppendTwoDigits(std::u16string& Text, std::uint32_t Value) {
    Text += static_cast<char16_t>(u'0' + Value / 10);
    Text += static_cast<char16_t>(u'0' + Value % 10);
}

} // namespace

std::u16string TSimTimeFormat::LongTimeText(TDateTime Value) const {
    const std::uint32_t seconds = TimeOfDayMs(Value) / 1000;
    std::u16string text;
    AppendTwoDigits(text, seconds / 3600);
    text += u':';
    AppendTwoDigits(text, seconds / 60 % 60);
    text += u':';
    AppendTwoDigits(text, seconds % 60);
    return text;
}

} // namespace platform::sim
