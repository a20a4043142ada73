#include "framework/core/OrvelCore.StreamMem.h"

#include "base/Base.Format.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.StreamBuff.h"

#include <algorithm>
#include <cstring>

namespace orvel {

namespace {

constexpr std::size_t CopyStep = 1048576;

} // namespace

TKestroMemStream TKestroMemStream::CreateFromStream(TOrvelStreamBase& Stream, std::int64_t FromPos) {
    if (FromPos < 0) {
        throw EOrvelException(u"TKestroMemStream!");
    }
    TKestroMemStream result;
    if (FromPos >= Stream.Size()) {
        return result;
    }
    const std::int64_t saved = Stream.Position();
    try {
        Stream.SetPosition(FromPos);
        std::vector<std::uint8_t> chunk(
            static_cast<std::size_t>(std::min<std::int64_t>(Stream.Size() - FromPos, CopyStep)));
        while (const std::size_t got = Stream.Read(chunk.data(), chunk.size())) {
            result.WriteBuffer(chunk.data(), got);
        }
    } catch (...) {
        Stream.SetPosition(saved);
        throw;
    }
    Stream.SetPosition(saved);
    result.SetPosition(0);
    return result;
}

std::size_t TKestroMemStream::Read(void* Buffer, std::size_t Count) {
    if (FPosition < 0 || FPosition >= Size()) {
        return 0;
    }
    const auto offset = static_cast<std::size_t>(FPosition);
    const std::size_t step = std::min(Count, FData.size() - offset);
    if (step > 0) {
        std::memcpy(Buffer, FData.data() + offset, step);
    }
    FPosition += static_cast<std::int64_t>(step);
    return step;
}

std::size_t TKestroMemStream::Write(const void* Buffer, std::size_t Count) {
    if (FPosition < 0 || Count == 0) {
        return 0;
    }
    const auto offset = static_cast<std::size_t>(FPosition);
    if (offset + Count > FData.size()) {
        FData.resize(offset + Count); // a gap left by a position past the end becomes zeros
    }
    std::memcpy(FData.data() + offset, Buffer, Count);
    FPosition += static_cast<std::int64_t>(Count);
    return Count;
}

void TKestroMemStream::SetPosition(std::int64_t Value) {
    FPosition = Value;
}

void TKestroMemStream::Clear() {
    FData.clear();
    FPosition = 0;
}

void TKestroMemStream::CheckMemSafetyLimit(std::uint32_t N, std::uint32_t SafetyLimit) {
    if (N > SafetyLimit) {
        throw EOrvelException(base::Format(u"String too large: {0} bytes", static_cast<std::int32_t>(N)));
    }
}

// ReadString and ReadCharsA check only the safety limit; ReadExactly then refuses a length that
// runs past the end with the read error before allocating, rather than reserving up to the limit
// and failing afterwards.
std::u16string TKestroMemStream::ReadString(std::uint32_t SafetyLimit) {
    const std::uint32_t n = ReadCardinal();
    CheckMemSafetyLimit(n, SafetyLimit);
    return base::Utf8ToUtf16(ReadExactly(n));
}

std::string TKestroMemStream::ReadStringA(std::uint32_t SafetyLimit) {
    const std::uint32_t n = ReadCardinal();
    if (static_cast<std::int64_t>(n) > BytesLeft()) {
        throw EOrvelException(base::Format(u"String length ({0}) exceeds remaining file size!", n));
    }
    CheckMemSafetyLimit(n, SafetyLimit);
    return ReadExactly(n);
}

std::u16string TKestroMemStream::ReadStringCnt(std::uint32_t Count, std::uint32_t SafetyLimit) {
    if (Count == 0) {
        return {};
    }
    if (static_cast<std::int64_t>(Count) > BytesLeft()) {
        throw EOrvelException(base::Format(u"TKestroMemStream-Invalid string size! {0}", Count));
    }
    CheckMemSafetyLimit(Count, SafetyLimit);
    return base::Utf8ToUtf16(ReadExactly(Count));
}

std::string TKestroMemStream::ReadCharsA(std::uint32_t Count, std::uint32_t SafetyLimit) {
    if (Count == 0) {
        return {};
    }
    CheckMemSafetyLimit(Count, SafetyLimit);
    return ReadExactly(Count);
}

std::string TKestroMemStream::ReadStringACnt(std::uint32_t Count, std::uint32_t SafetyLimit) {
    CheckMemSafetyLimit(Count, SafetyLimit);
    return TryReadStringA(Count);
}

std::int16_t TKestroMemStream::RevReadSmallInt() {
    return static_cast<std::int16_t>(RevReadWord());
}

void TKestroMemStream::WriteChar(char Value) {
    WriteByte(static_cast<std::uint8_t>(Value));
}

char TKestroMemStream::ReadChar() {
    return static_cast<char>(ReadByte());
}

void TKestroMemStream::PushData(std::string_view Value) {
    Clear();
    WriteBuffer(Value.data(), Value.size());
}

void TKestroMemStream::PushData(const TBytes& Value) {
    Clear();
    WriteBuffer(Value.data(), Value.size());
}

void TKestroMemStream::LoadFromFile(platform::IFileStreams& Files, const std::u16string& FileName) {
    TOrvelStream file = TOrvelStream::CreateRead(Files, FileName, FileBufferSize);
    // Read into a fresh buffer so a failed load leaves the old content in place.
    TBytes bytes(static_cast<std::size_t>(file.Size()));
    file.ReadBuffer(bytes.data(), bytes.size());
    file.Close();
    FData = std::move(bytes);
    FPosition = 0;
}

void TKestroMemStream::SaveToFile(platform::IFileStreams& Files, const std::u16string& FileName) const {
    TOrvelStream file = TOrvelStream::CreateWrite(Files, FileName, FileBufferSize);
    file.WriteBuffer(FData.data(), FData.size());
    file.Close();
}

} // namespace orvel
