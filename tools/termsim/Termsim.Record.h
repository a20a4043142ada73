#pragma once
// The record termsim keeps of what reached its prompt: UTF-8, one event per line, each line
// complete (ending in '\n') once it is in the file.
//
//   ready window=0x1A2B pid=1234           the window is up and waits for keys
//   key char "a"                           a typed character
//   key ctrl+E | ctrl+S | ctrl+G | right | left | up | down | home | end | delete | backspace |
//       ctrl+backspace | enter | shift+enter | escape | tab | shift+tab
//   prompt "line1\nline2" cursor=1,4 kill="..."   the prompt after the key or event above;
//          then, only where they differ from a fresh prompt: mode=bash, vim=insert|normal,
//          stash="the draft put aside", view=question|permission|model|effort|config|history|
//          rewind|shell (what has the keys instead of the box)
//
// Harms, which a burst must never cause:
//   submitted "..." [mode=bash]            Enter sent this text to the model (or to a shell)
//   approved "Yes"                         a tool-permission dialog approved the tool call
//   ran "dir"                              a plain shell (--shell) ran the line
//   picker saved model "Opus, high effort" a picker or settings panel saved a choice
//   command "/clear"                       a command other than /effort ran
//   unexpanded "[Pasted text #1 +29 lines]"  a placeholder went out as its own text
//   interrupted                            a running turn was stopped
//   stash lost "..."                       Ctrl+S replaced a stash that held this draft
//   cleared "..."                          the draft was thrown away (Escape twice, Ctrl+C)
//
// Everything else:
//   question "Change effort level?" level=high   the question came up
//   answered yes | answered no
//   effort high                            the effort level was set
//   failed "Unknown command: /foo"         a command failed
//   declined "No" | declined "esc"         a tool-permission dialog said no
//   stashed "..." | unstashed "..."        the draft went into the stash, or came back from it
//   mode bash | mode normal                bash mode began or ended
//   vim normal | vim insert                vim's mode changed
//   pasted "..."                           what a paste put at the caret (text or placeholder)
//   view history                           another view took the keys (view prompt: the box is back)
//   turn started | turn done               a turn of the model began or ended
//
// Quoted text escapes \\, \", \n, \r, \t, and every other control character or lone surrogate
// as \uXXXX (UTF-16 unit, four hex digits), so any prompt text survives the round trip.
#include "tools/termsim/Termsim.Events.h"

#include <string>
#include <string_view>

namespace termsim {

// Text in the record's escaped form, without the quotes.
std::u16string EscapeText(std::u16string_view Text);

// One record line in UTF-8, '\n' included.
std::string FormatRecordLine(const TRecordEvent& Event);

} // namespace termsim
