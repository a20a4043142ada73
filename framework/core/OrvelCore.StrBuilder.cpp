#include "framework/core/OrvelCore.StrBuilder.h"

#include "framework/core/OrvelCore.Exceptions.h"

#include <algorithm>
#include <limits>

namespace orvel {

namespace {
constexpr std::int64_t MaxLen = std::numeric_limits<std::int32_t>::max();
}

TCStringBuilder::TCStringBuilder(std::int32_t InitialBuffSize) : FBufferGrowth(InitialBuffSize) {
    Clear();
}

void TCStringBuilder::Clear() {
    FPosition = 1;
    FAllocatedLen = 0;
    std::u16string().swap(FBuffer);
}

// Lengths are worked out in 64 bits: the content is counted in 32 bits, and a text that no longer
// fits must fail rather than wrap around and write outside the storage.
void TCStringBuilder::EnsureRoom(std::int64_t LastPos, std::int64_t ProposedLen) {
    if (LastPos >= MaxLen) {
        throw EOrvelException(u"TCStringBuilder: the text would exceed 2147483646 characters");
    }
    if (FAllocatedLen < LastPos) {
        FBuffer.resize(static_cast<std::size_t>(std::min(ProposedLen, MaxLen)));
        FAllocatedLen = static_cast<std::int32_t>(FBuffer.size());
    }
}

void TCStringBuilder::AddChar(char16_t Ch) {
    const std::int64_t a = FAllocatedLen;
    const std::int64_t p = FPosition;
    EnsureRoom(p, std::max(a + FBufferGrowth, p));
    FBuffer[static_cast<std::size_t>(p - 1)] = Ch;
    ++FPosition;
}

void TCStringBuilder::AddEnter() {
    const std::int64_t a = FAllocatedLen;
    const std::int64_t p = FPosition;
    EnsureRoom(p + 1, std::max(a + FBufferGrowth, p + 1));
    FBuffer[static_cast<std::size_t>(p - 1)] = u'\r';
    FBuffer[static_cast<std::size_t>(p)] = u'\n';
    FPosition += 2;
}

void TCStringBuilder::AddString(std::u16string_view S) {
    if (S.empty()) {
        return;
    }
    const std::int64_t a = FAllocatedLen;
    const std::int64_t last = FPosition - 1 + static_cast<std::int64_t>(S.size());
    EnsureRoom(last, std::max({2 * a, last, static_cast<std::int64_t>(FBufferGrowth)}));
    std::copy(S.begin(), S.end(), FBuffer.begin() + (FPosition - 1));
    FPosition = static_cast<std::int32_t>(last + 1);
}

std::u16string TCStringBuilder::AsText() const {
    return FBuffer.substr(0, static_cast<std::size_t>(FPosition - 1));
}

} // namespace orvel
