#include "app/Tarvin.Sender.h"

#include "platform/sim/Sim.Desktop.h"

#include <gtest/gtest.h>

#include <functional>

namespace tarvin {
namespace {

using platform::TKeyInput;
using Batch = std::vector<TKeyInput>;

constexpr std::uint32_t Ext = platform::KeyEventExtendedKey;
constexpr std::uint32_t Up = platform::KeyEventKeyUp;
constexpr std::uint32_t Uni = platform::KeyEventUnicode;

TKeyInput Key(std::uint16_t vk, std::uint16_t scan, std::uint32_t flags) {
    TKeyInput record;
    record.wVk = vk;
    record.wScan = scan;
    record.dwFlags = flags;
    return record;
}

TEST(SendResult, SucceedsOnlyWhenAFullNonEmptyBatchWentOut) {
    struct TCase {
        TSendResult Result;
        bool Succeeded;
    };
    const std::vector<TCase> cases = {
        {{4, 4, 0}, true},  {{1, 1, 0}, true},  {{4, 2, 5}, false},
        {{4, 0, 5}, false}, {{0, 0, 0}, false}, {{2, 3, 0}, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Result.Delivered) + " of " + std::to_string(c.Result.Requested));
        EXPECT_EQ(SendSucceeded(c.Result), c.Succeeded);
    }
}

TEST(KeyRecords, MakeKeyInputFillsAKeyboardRecord) {
    const TKeyInput record = MakeKeyInput(0x27, 0x1234, Ext | Up);
    EXPECT_EQ(record.type, platform::InputKeyboard);
    EXPECT_EQ(record.wVk, 0x27);
    EXPECT_EQ(record.wScan, 0x1234);
    EXPECT_EQ(record.dwFlags, Ext | Up);
    EXPECT_EQ(record.time, 0u);
    EXPECT_EQ(record.dwExtraInfo, 0u);
}

TEST(KeyRecords, TextBecomesUnicodeDownUpPairs) {
    const Batch batch = BuildTextBatch(u"/effort high");
    ASSERT_EQ(batch.size(), 24u);
    const std::u16string text = u"/effort high";
    for (std::size_t i = 0; i < text.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(batch[2 * i], Key(0, text[i], Uni));
        EXPECT_EQ(batch[2 * i + 1], Key(0, text[i], Uni | Up));
    }
}

TEST(KeyRecords, SurrogatePairGoesOutAsTwoUnits) {
    const Batch batch = BuildTextBatch(u"\U0001F600");
    EXPECT_EQ(batch, (Batch{Key(0, 0xD83D, Uni), Key(0, 0xD83D, Uni | Up), Key(0, 0xDE00, Uni),
                            Key(0, 0xDE00, Uni | Up)}));
    EXPECT_TRUE(BuildTextBatch(u"").empty());
}

TEST(KeyRecords, FixedBatchesHaveTheirLayouts) {
    struct TCase {
        const char* Name;
        Batch Built;
        Batch Expected;
    };
    const std::vector<TCase> cases = {
        {"Enter", BuildEnterBatch(), {Key(0x0D, 0, 0), Key(0x0D, 0, Up)}},
        {"Ctrl chord",
         BuildCtrlChordBatch(0x41),
         {Key(0x11, 0, 0), Key(0x41, 0, 0), Key(0x41, 0, Up), Key(0x11, 0, Up)}},
        {"Right arrow", BuildRightBatch(), {Key(0x27, 0, Ext), Key(0x27, 0, Ext | Up)}},
        {"Backspace", BuildBackspaceBatch(), {Key(0x08, 0, 0), Key(0x08, 0, Up)}},
        {"release modifiers",
         BuildReleaseModifiersBatch(),
         {Key(0x11, 0, Up), Key(0xA2, 0, Up), Key(0xA3, 0, Up), Key(0x12, 0, Up), Key(0xA4, 0, Up),
          Key(0xA5, 0, Up), Key(0x10, 0, Up), Key(0xA0, 0, Up), Key(0xA1, 0, Up)}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Built, c.Expected);
    }
}

TEST(Sending, EachOperationSendsItsBatchInOneCall) {
    using TSend = std::function<TSendResult(platform::IInput&)>;
    struct TCase {
        const char* Name;
        TSend Send;
        Batch Expected;
    };
    const auto chord = [](std::uint16_t key) {
        return Batch{Key(0x11, 0, 0), Key(key, 0, 0), Key(key, 0, Up), Key(0x11, 0, Up)};
    };
    const std::vector<TCase> cases = {
        {"text",
         [](platform::IInput& in) { return SendText(in, u"x"); },
         {Key(0, u'x', Uni), Key(0, u'x', Uni | Up)}},
        {"Enter", [](platform::IInput& in) { return SendEnter(in); }, BuildEnterBatch()},
        {"Ctrl+chord", [](platform::IInput& in) { return SendCtrlChord(in, 0x4B); }, chord(0x4B)},
        {"Ctrl+E", [](platform::IInput& in) { return SendCtrlE(in); }, chord(0x45)},
        {"Ctrl+U", [](platform::IInput& in) { return SendCtrlU(in); }, chord(0x55)},
        {"Ctrl+Y", [](platform::IInput& in) { return SendCtrlY(in); }, chord(0x59)},
        {"Right", [](platform::IInput& in) { return SendRight(in); }, BuildRightBatch()},
        {"Backspace", [](platform::IInput& in) { return SendBackspace(in); }, BuildBackspaceBatch()},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        platform::sim::TSimDesktop desktop;
        const TSendResult result = c.Send(desktop);
        ASSERT_EQ(desktop.InputJournal().size(), 1u);
        EXPECT_EQ(desktop.InputJournal()[0].Records, c.Expected);
        EXPECT_EQ(result.Requested, static_cast<std::int32_t>(c.Expected.size()));
        EXPECT_EQ(result.Delivered, result.Requested);
        EXPECT_EQ(result.ErrorCode, 0u);
        EXPECT_TRUE(SendSucceeded(result));
    }
}

TEST(Sending, CommandTextGoesOutAsOneBatchOf24Records) {
    platform::sim::TSimDesktop desktop;
    const TSendResult result = SendText(desktop, u"/effort high");
    ASSERT_EQ(desktop.InputJournal().size(), 1u);
    EXPECT_EQ(desktop.InputJournal()[0].Records, BuildTextBatch(u"/effort high"));
    EXPECT_EQ(result.Requested, 24);
    EXPECT_EQ(result.Delivered, 24);
}

TEST(Sending, EmptyTextSendsNothingAndIsNoSuccess) {
    platform::sim::TSimDesktop desktop;
    desktop.LimitInput(0, 5); // would report an error if anything were sent
    const TSendResult result = SendText(desktop, u"");
    EXPECT_EQ(result.Requested, 0);
    EXPECT_EQ(result.Delivered, 0);
    EXPECT_EQ(result.ErrorCode, 0u);
    EXPECT_FALSE(SendSucceeded(result));
    EXPECT_TRUE(desktop.InputJournal().empty());
}

TEST(Sending, ShortfallReportsCountsAndTheOsError) {
    struct TCase {
        std::uint32_t Limit;
        std::uint32_t Code;
    };
    for (const TCase& c : std::vector<TCase>{{2, 5}, {0, 0x80070005}, {3, 0}}) {
        SCOPED_TRACE(std::to_string(c.Limit) + " accepted, error " + std::to_string(c.Code));
        platform::sim::TSimDesktop desktop;
        desktop.LimitInput(c.Limit, c.Code);
        const TSendResult result = SendCtrlU(desktop);
        EXPECT_EQ(result.Requested, 4);
        EXPECT_EQ(result.Delivered, static_cast<std::int32_t>(c.Limit));
        EXPECT_EQ(result.ErrorCode, c.Code);
        EXPECT_FALSE(SendSucceeded(result));
        EXPECT_EQ(desktop.InputJournal().size(), 1u);
    }
}

// The OS reports its last error even after a full send; it must not leak into a success.
TEST(Sending, ErrorCodeIsReadOnlyAfterAShortfall) {
    class TNoisyInput final : public platform::IInput {
    public:
        platform::TSendInputAnswer SendInputBatch(std::span<const TKeyInput> records) override {
            return {static_cast<std::uint32_t>(records.size()), 1400};
        }
        std::uint16_t AsyncKeyState(std::uint16_t) const override { return 0; }
    } input;
    const TSendResult result = SendEnter(input);
    EXPECT_TRUE(SendSucceeded(result));
    EXPECT_EQ(result.ErrorCode, 0u);
}

TEST(Sending, MoreInsertedThanRequestedIsNoSuccess) {
    class TOverreportingInput final : public platform::IInput {
    public:
        platform::TSendInputAnswer SendInputBatch(std::span<const TKeyInput> records) override {
            return {static_cast<std::uint32_t>(records.size()) + 3, 0};
        }
        std::uint16_t AsyncKeyState(std::uint16_t) const override { return 0; }
    } input;
    const TSendResult result = SendEnter(input);
    EXPECT_EQ(result.Requested, 2);
    EXPECT_LE(result.Delivered, result.Requested);
}

TEST(Sending, ShortfallLineNamesTheNumbers) {
    EXPECT_EQ(ShortfallText({4, 2, 5}), u"Tarvin.Sender: SendInput delivered 2 of 4 events. Windows error 5");
    EXPECT_EQ(ShortfallText({24, 0, 0x80070005}),
              u"Tarvin.Sender: SendInput delivered 0 of 24 events. Windows error 2147942405");
}

TEST(Modifiers, AnyModifierDownSeesEachKeyOfTheTable) {
    for (std::uint16_t key : ModifierKeys) {
        SCOPED_TRACE(key);
        platform::sim::TSimDesktop desktop;
        EXPECT_FALSE(AnyModifierDown(desktop));
        desktop.SetKeyDown(key, true);
        EXPECT_TRUE(AnyModifierDown(desktop));
    }
}

TEST(Modifiers, WindowsKeysAndOtherKeysDoNotCount) {
    platform::sim::TSimDesktop desktop;
    for (std::uint16_t key : {0x5B, 0x5C, 0x41, 0x14}) { // left Win, right Win, A, Caps Lock
        desktop.SetKeyDown(static_cast<std::uint16_t>(key), true);
    }
    EXPECT_FALSE(AnyModifierDown(desktop));
}

TEST(Modifiers, ReleaseModifiersLetsGoOfAHeldRightAlt) {
    platform::sim::TSimDesktop desktop;
    desktop.SetKeyDown(0xA5, true); // VK_RMENU, as AltGr leaves it
    EXPECT_TRUE(AnyModifierDown(desktop));

    ReleaseModifiers(desktop);

    EXPECT_FALSE(AnyModifierDown(desktop));
    ASSERT_EQ(desktop.InputJournal().size(), 1u);
    EXPECT_EQ(desktop.InputJournal()[0].Records, BuildReleaseModifiersBatch());
}

TEST(Modifiers, ReleaseAfterChordHeldDownByTheUser) {
    platform::sim::TSimDesktop desktop;
    desktop.SetKeyDown(0xA2, true); // left Ctrl
    desktop.SetKeyDown(0xA4, true); // left Alt
    desktop.SetKeyDown(0xA1, true); // right Shift
    ReleaseModifiers(desktop);
    EXPECT_FALSE(AnyModifierDown(desktop));
}

} // namespace
} // namespace tarvin
