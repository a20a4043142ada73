#pragma once
// Synthetic keystrokes: each operation builds one batch of keyboard records and hands it to the
// OS in a single call. Building a batch is plain data work; only SendInputs and AnyModifierDown
// reach the OS.
#include "platform/Platform.Input.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvin {

// The outcome of one batch. ErrorCode is read only after an incomplete send.
struct TSendResult {
    std::int32_t Requested = 0;
    std::int32_t Delivered = 0;
    std::uint32_t ErrorCode = 0;
};

// An empty batch never counts as success.
bool SendSucceeded(const TSendResult& Result);

using platform::ModifierKeys;
using platform::VkBack;
using platform::VkControl;
using platform::VkReturn;
using platform::VkRight;

platform::TKeyInput MakeKeyInput(std::uint16_t VirtualKey, std::uint16_t Scan, std::uint32_t Flags);

// Down and up per UTF-16 unit, as Unicode packets; a surrogate pair is two units.
std::vector<platform::TKeyInput> BuildTextBatch(std::u16string_view Text);
std::vector<platform::TKeyInput> BuildEnterBatch();
// Ctrl down, Key down, Key up, Ctrl up.
std::vector<platform::TKeyInput> BuildCtrlChordBatch(std::uint16_t Key);
// The Right arrow lives in the extended block of the keyboard.
std::vector<platform::TKeyInput> BuildRightBatch();
std::vector<platform::TKeyInput> BuildBackspaceBatch();
// A key-up for every entry of ModifierKeys, in table order.
std::vector<platform::TKeyInput> BuildReleaseModifiersBatch();

// The one routine that sends. An empty batch sends and logs nothing; a shortfall is reported in
// the result and as an error line, never raised.
[[nodiscard]] TSendResult SendInputs(platform::IInput& Input, std::span<const platform::TKeyInput> Records);
// The error line written after an incomplete send.
std::u16string ShortfallText(const TSendResult& Result);

[[nodiscard]] TSendResult SendText(platform::IInput& Input, std::u16string_view Text);
[[nodiscard]] TSendResult SendEnter(platform::IInput& Input);
[[nodiscard]] TSendResult SendCtrlChord(platform::IInput& Input, std::uint16_t Key);
[[nodiscard]] TSendResult SendCtrlE(platform::IInput& Input);
[[nodiscard]] TSendResult SendCtrlU(platform::IInput& Input);
[[nodiscard]] TSendResult SendCtrlY(platform::IInput& Input);
[[nodiscard]] TSendResult SendRight(platform::IInput& Input);
[[nodiscard]] TSendResult SendBackspace(platform::IInput& Input);
// The result is not handed out; a shortfall is still logged.
void ReleaseModifiers(platform::IInput& Input);

// One key of a batch as the sequencer names it; Text carries the typed text of TKey::Text.
enum class TKey : std::uint8_t { Text, Enter, CtrlE, CtrlS, CtrlU, CtrlY, Right, Backspace };
struct TKeyStroke {
    TKey Key = TKey::Text;
    std::u16string Text;

    friend bool operator==(const TKeyStroke&, const TKeyStroke&) = default;
};
using TKeyBatch = std::vector<TKeyStroke>;

// The records of the keys, in order, for one SendInput call.
std::vector<platform::TKeyInput> BuildKeyBatch(const TKeyBatch& Keys);
[[nodiscard]] TSendResult SendKeys(platform::IInput& Input, const TKeyBatch& Keys);

// True while any key of ModifierKeys is physically down.
bool AnyModifierDown(const platform::IInput& Input);

} // namespace tarvin
