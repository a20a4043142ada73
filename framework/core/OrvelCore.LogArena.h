#pragma once
// TLogLineArena: where a container makes its lines. A line is one record with its text right
// behind it, cut from large blocks; the blocks go back together when the container is cleared. So
// neither making nor freeing a million lines costs a million allocations, a line carries no
// allocator header or second block for its text, and a walk over the lines reads memory in order.
//
// Lines are never freed one by one and never change after they are made. One thread at a time;
// the multi-threaded container makes its lines under its write lock.
#include "framework/core/OrvelCore.LogTypes.h"

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace orvel {

class TLogLineArena {
public:
    // Blocks grow from the first size to the largest by doubling; a line too large for a quarter
    // of the largest gets a block of its own, so the block being filled is not abandoned for it.
    static constexpr std::size_t FirstBlockSize = 4096;
    static constexpr std::size_t LargestBlockSize = 65536;

    TLogLineArena() = default;
    TLogLineArena(const TLogLineArena&) = delete;
    TLogLineArena& operator=(const TLogLineArena&) = delete;
    ~TLogLineArena() = default;

    // A line carrying these values; it lives until Clear or the arena's end.
    PLogLine NewLine(std::u16string_view Msg, TLogVerbLvl Level, bool Bold, std::int32_t Indent,
                     platform::TDateTime Time);
    // The same with the text given as UTF-8, decoded straight into the line's own storage.
    PLogLine NewLineFromUtf8(std::string_view Msg, TLogVerbLvl Level, bool Bold, std::int32_t Indent,
                             platform::TDateTime Time);

    // Frees every block and with it every line made so far.
    void Clear() noexcept;
    void Swap(TLogLineArena& Other) noexcept;

    // What the arena holds: its blocks, their bytes, and the bytes given to lines.
    std::size_t BlockCount() const { return FBlocks.size(); }
    std::size_t BlockBytes() const { return FBlockBytes; }
    std::size_t UsedBytes() const { return FUsedBytes; }

    // The bytes a line with Units characters of text takes in a block.
    static std::size_t LineBytes(std::size_t Units);

private:
    // Bytes (a multiple of the record's alignment) from the block being filled or a new one.
    // Inline: most lines fit the block being filled.
    std::byte* Allocate(std::size_t Bytes) {
        if (static_cast<std::size_t>(FEnd - FNext) >= Bytes) {
            std::byte* result = FNext;
            FNext += Bytes;
            FUsedBytes += Bytes;
            return result;
        }
        return AllocateInNewBlock(Bytes);
    }
    std::byte* AllocateInNewBlock(std::size_t Bytes);
    // Hands back the tail of the latest allocation that the line did not need.
    void GiveBack(std::byte* Start, std::size_t Reserved, std::size_t Used);
    static PLogLine Construct(std::byte* At, std::size_t Units, TLogVerbLvl Level, bool Bold, std::int32_t Indent,
                              platform::TDateTime Time);

    std::vector<std::unique_ptr<std::byte[]>> FBlocks;
    std::byte* FNext = nullptr; // free part of the block being filled
    std::byte* FEnd = nullptr;
    std::size_t FNextBlockSize = FirstBlockSize;
    std::size_t FBlockBytes = 0;
    std::size_t FUsedBytes = 0;
};

} // namespace orvel
