#pragma once
// What takes the input box's place, drawn as the CLI draws it: "Change effort level?", the
// tool-permission dialog, the /model picker, the /effort slider, the /config panel, history
// search (Ctrl+R) and Rewind.
#include "tools/termsim/Termsim.Cli.h"
#include "tools/termsim/Termsim.Screen.h"

namespace termsim {

// The rows of the open dialog, for a state whose View is not the prompt.
TBlock DialogBlock(const TCliState& State, std::size_t Columns);

// "2s ago", "58s ago", "3m ago", "2h ago".
std::u16string AgeText(std::uint64_t Ms);

} // namespace termsim
