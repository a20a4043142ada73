#pragma once
// TCStringBuilder: a growable UTF-16 text buffer. Characters and line breaks grow the storage by a
// fixed step; strings at least double it, so joining many lines needs few reallocations.
// One thread at a time.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvel {

class TCStringBuilder {
public:
    // InitialBuffSize is the growth step of AddChar and AddEnter and the least capacity AddString
    // allocates.
    explicit TCStringBuilder(std::int32_t InitialBuffSize);

    // Empties the builder and releases the storage.
    void Clear();
    void AddChar(char16_t Ch);
    // CR LF.
    void AddEnter();
    void AddString(std::u16string_view S);
    // The content written so far.
    std::u16string AsText() const;

    // The capacity in UTF-16 characters.
    std::int32_t AllocatedLen() const { return FAllocatedLen; }

private:
    // Grows the storage to ProposedLen when position LastPos is beyond it.
    void EnsureRoom(std::int64_t LastPos, std::int64_t ProposedLen);

    std::u16string FBuffer;
    std::int32_t FAllocatedLen = 0;
    std::int32_t FPosition = 1; // 1-based index of the next character to write
    std::int32_t FBufferGrowth = 0;
};

} // namespace orvel
