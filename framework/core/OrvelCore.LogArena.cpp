#include "framework/core/OrvelCore.LogArena.h"

#include "base/Base.Unicode.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace orvel {

namespace {

constexpr std::size_t Alignment = alignof(RLogLine);

constexpr std::size_t RoundUp(std::size_t Bytes) {
    return (Bytes + Alignment - 1) / Alignment * Alignment;
}

char16_t* TextOf(std::byte* Line) {
    return reinterpret_cast<char16_t*>(Line + sizeof(RLogLine));
}

} // namespace

std::size_t TLogLineArena::LineBytes(std::size_t Units) {
    return RoundUp(sizeof(RLogLine) + Units * sizeof(char16_t));
}

std::byte* TLogLineArena::AllocateInNewBlock(std::size_t Bytes) {
    if (Bytes > LargestBlockSize / 4) {
        FBlocks.push_back(std::make_unique_for_overwrite<std::byte[]>(Bytes));
        FBlockBytes += Bytes;
        FUsedBytes += Bytes;
        return FBlocks.back().get();
    }
    const std::size_t size = std::max(FNextBlockSize, Bytes);
    FBlocks.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
    FBlockBytes += size;
    FNextBlockSize = std::min(FNextBlockSize * 2, LargestBlockSize);
    FNext = FBlocks.back().get() + Bytes;
    FEnd = FBlocks.back().get() + size;
    FUsedBytes += Bytes;
    return FBlocks.back().get();
}

void TLogLineArena::GiveBack(std::byte* Start, std::size_t Reserved, std::size_t Used) {
    // Only the block being filled can take bytes back, and only from its latest allocation.
    if (Start + Reserved == FNext) {
        FNext = Start + Used;
        FUsedBytes -= Reserved - Used;
    }
}

PLogLine TLogLineArena::Construct(std::byte* At, std::size_t Units, TLogVerbLvl Level, bool Bold,
                                  std::int32_t Indent, platform::TDateTime Time) {
    return new (At) RLogLine{TLogText(TLogText::TInline{}, TextOf(At), Units), Level, Bold, Indent, Time};
}

PLogLine TLogLineArena::NewLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, std::int32_t Indent,
                                platform::TDateTime Time) {
    std::byte* at = Allocate(LineBytes(Msg.size()));
    if (!Msg.empty()) {
        std::memcpy(TextOf(at), Msg.data(), Msg.size() * sizeof(char16_t));
    }
    return Construct(at, Msg.size(), Level, Bold, Indent, Time);
}

PLogLine TLogLineArena::NewLineFromUtf8(std::string_view Msg, TLogVerbLvl Level, bool Bold, std::int32_t Indent,
                                        platform::TDateTime Time) {
    // No UTF-8 byte yields more than one UTF-16 unit; what the text did not need goes back.
    const std::size_t reserved = LineBytes(Msg.size());
    std::byte* at = Allocate(reserved);
    const std::size_t units = base::Utf8ToUtf16(Msg, TextOf(at));
    GiveBack(at, reserved, LineBytes(units));
    return Construct(at, units, Level, Bold, Indent, Time);
}

void TLogLineArena::Clear() noexcept {
    FBlocks.clear();
    FNext = FEnd = nullptr;
    FNextBlockSize = FirstBlockSize;
    FBlockBytes = 0;
    FUsedBytes = 0;
}

void TLogLineArena::Swap(TLogLineArena& Other) noexcept {
    std::swap(FBlocks, Other.FBlocks);
    std::swap(FNext, Other.FNext);
    std::swap(FEnd, Other.FEnd);
    std::swap(FNextBlockSize, Other.FNextBlockSize);
    std::swap(FBlockBytes, Other.FBlockBytes);
    std::swap(FUsedBytes, Other.FUsedBytes);
}

} // namespace orvel
