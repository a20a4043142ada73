#include "app/Tarvin.Sender.h"

#include "base/Base.Format.h"
#include "framework/core/OrvelCore.AppData.h"

#include <algorithm>

namespace tarvin {
namespace {

using platform::KeyEventExtendedKey;
using platform::KeyEventKeyUp;
using platform::KeyEventUnicode;
using platform::TKeyInput;

using platform::VkE;
using platform::VkS;
using platform::VkU;
using platform::VkY;

// A plain key pressed and released, with `flags` added to both records.
std::vector<TKeyInput> KeyTap(std::uint16_t key, std::uint32_t flags) {
    return {MakeKeyInput(key, 0, flags), MakeKeyInput(key, 0, flags | KeyEventKeyUp)};
}

} // namespace

bool SendSucceeded(const TSendResult& Result) {
    return Result.Requested > 0 && Result.Delivered == Result.Requested;
}

TKeyInput MakeKeyInput(std::uint16_t VirtualKey, std::uint16_t Scan, std::uint32_t Flags) {
    TKeyInput record;
    record.type = platform::InputKeyboard;
    record.wVk = VirtualKey;
    record.wScan = Scan;
    record.dwFlags = Flags;
    return record;
}

std::vector<TKeyInput> BuildTextBatch(std::u16string_view Text) {
    std::vector<TKeyInput> records;
    records.reserve(Text.size() * 2);
    for (char16_t unit : Text) {
        records.push_back(MakeKeyInput(0, unit, KeyEventUnicode));
        records.push_back(MakeKeyInput(0, unit, KeyEventUnicode | KeyEventKeyUp));
    }
    return records;
}

std::vector<TKeyInput> BuildEnterBatch() {
    return KeyTap(VkReturn, 0);
}

std::vector<TKeyInput> BuildCtrlChordBatch(std::uint16_t Key) {
    return {MakeKeyInput(VkControl, 0, 0), MakeKeyInput(Key, 0, 0), MakeKeyInput(Key, 0, KeyEventKeyUp),
            MakeKeyInput(VkControl, 0, KeyEventKeyUp)};
}

std::vector<TKeyInput> BuildRightBatch() {
    return KeyTap(VkRight, KeyEventExtendedKey);
}

std::vector<TKeyInput> BuildBackspaceBatch() {
    return KeyTap(VkBack, 0);
}

std::vector<TKeyInput> BuildReleaseModifiersBatch() {
    std::vector<TKeyInput> records;
    records.reserve(ModifierKeys.size());
    for (std::uint16_t key : ModifierKeys) {
        records.push_back(MakeKeyInput(key, 0, KeyEventKeyUp));
    }
    return records;
}

TSendResult SendInputs(platform::IInput& Input, std::span<const TKeyInput> Records) {
    TSendResult result;
    result.Requested = static_cast<std::int32_t>(Records.size());
    if (result.Requested == 0) {
        return result;
    }
    const platform::TSendInputAnswer answer = Input.SendInputBatch(Records);
    // The OS never inserts more than it was given; a misbehaving backend must not make a
    // shortfall look like success.
    result.Delivered = static_cast<std::int32_t>(std::min<std::uint32_t>(answer.Inserted, Records.size()));
    if (!SendSucceeded(result)) {
        result.ErrorCode = answer.LastError;
        orvel::TAppDataCore::LogError(ShortfallText(result));
    }
    return result;
}

std::u16string ShortfallText(const TSendResult& Result) {
    return base::Format(u"Tarvin.Sender: SendInput delivered {0} of {1} events. Windows error {2}",
                        Result.Delivered, Result.Requested, Result.ErrorCode);
}

TSendResult SendText(platform::IInput& Input, std::u16string_view Text) {
    return SendInputs(Input, BuildTextBatch(Text));
}

TSendResult SendEnter(platform::IInput& Input) {
    return SendInputs(Input, BuildEnterBatch());
}

TSendResult SendCtrlChord(platform::IInput& Input, std::uint16_t Key) {
    return SendInputs(Input, BuildCtrlChordBatch(Key));
}

TSendResult SendCtrlE(platform::IInput& Input) {
    return SendCtrlChord(Input, VkE);
}

TSendResult SendCtrlU(platform::IInput& Input) {
    return SendCtrlChord(Input, VkU);
}

TSendResult SendCtrlY(platform::IInput& Input) {
    return SendCtrlChord(Input, VkY);
}

TSendResult SendRight(platform::IInput& Input) {
    return SendInputs(Input, BuildRightBatch());
}

TSendResult SendBackspace(platform::IInput& Input) {
    return SendInputs(Input, BuildBackspaceBatch());
}

void ReleaseModifiers(platform::IInput& Input) {
    // The caller has no use for the result; a shortfall is still logged by SendInputs.
    static_cast<void>(SendInputs(Input, BuildReleaseModifiersBatch()));
}

std::vector<TKeyInput> BuildKeyBatch(const TKeyBatch& Keys) {
    std::vector<TKeyInput> records;
    const auto append = [&](const std::vector<TKeyInput>& more) {
        records.insert(records.end(), more.begin(), more.end());
    };
    for (const TKeyStroke& key : Keys) {
        switch (key.Key) {
        case TKey::Text:
            append(BuildTextBatch(key.Text));
            break;
        case TKey::Enter:
            append(BuildEnterBatch());
            break;
        case TKey::CtrlE:
            append(BuildCtrlChordBatch(VkE));
            break;
        case TKey::CtrlS:
            append(BuildCtrlChordBatch(VkS));
            break;
        case TKey::CtrlU:
            append(BuildCtrlChordBatch(VkU));
            break;
        case TKey::CtrlY:
            append(BuildCtrlChordBatch(VkY));
            break;
        case TKey::Right:
            append(BuildRightBatch());
            break;
        case TKey::Backspace:
            append(BuildBackspaceBatch());
            break;
        }
    }
    return records;
}

TSendResult SendKeys(platform::IInput& Input, const TKeyBatch& Keys) {
    return SendInputs(Input, BuildKeyBatch(Keys));
}

bool AnyModifierDown(const platform::IInput& Input) {
    return std::any_of(ModifierKeys.begin(), ModifierKeys.end(),
                       [&](std::uint16_t key) { return (Input.AsyncKeyState(key) & 0x8000) != 0; });
}

} // namespace tarvin
