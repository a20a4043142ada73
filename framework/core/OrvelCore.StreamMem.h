#pragma once
// orvel::TKestroMemStream: the framework's binary conventions (orvel::TOrvelStreamBase, see
// OrvelCore.StreamBase.h) on a growable byte buffer, plus what only makes sense in memory:
// a stream made from part of another, replacing the whole content, and loading or saving the
// whole content from or to a file in one go.
#include "framework/core/OrvelCore.StreamBase.h"
#include "platform/Platform.FileStreams.h"

namespace orvel {

class TKestroMemStream final : public TOrvelStreamBase {
public:
    static constexpr std::uint32_t DefaultStringListSafetyLimit = 1048576;
    static constexpr std::size_t FileBufferSize = 32768;

    // The largest string-list text, in bytes, that ReadStrings accepts.
    std::uint32_t StringListSafetyLimit = DefaultStringListSafetyLimit;

    // An empty stream.
    TKestroMemStream() = default;
    // The bytes of `Stream` from `FromPos` to its end (none when FromPos is at or past the end);
    // the source's position is kept and the new stream's is 0. A negative FromPos raises
    // EOrvelException "TKestroMemStream!".
    static TKestroMemStream CreateFromStream(TOrvelStreamBase& Stream, std::int64_t FromPos);

    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(FData.size()); }
    std::int64_t Position() const override { return FPosition; }
    void SetPosition(std::int64_t Value) override;
    const TBytes& Data() const { return FData; }
    void Clear();

    std::u16string ReadString(std::uint32_t SafetyLimit) override;
    std::string ReadStringA(std::uint32_t SafetyLimit) override;
    std::u16string ReadStringCnt(std::uint32_t Count, std::uint32_t SafetyLimit) override;
    std::string ReadCharsA(std::uint32_t Count, std::uint32_t SafetyLimit) override;
    std::string ReadStringACnt(std::uint32_t Count, std::uint32_t SafetyLimit) override;

    // 2 bytes, signed, big-endian.
    std::int16_t RevReadSmallInt();
    // One 8-bit character.
    void WriteChar(char Value);
    char ReadChar();
    // Empties the stream, then writes the bytes; the position ends behind them.
    void PushData(std::string_view Value);
    void PushData(const TBytes& Value);

    // Replaces the whole content with the file's bytes; position 0 afterwards. A missing file
    // raises the file-open error of TOrvelStream::CreateRead.
    void LoadFromFile(platform::IFileStreams& Files, const std::u16string& FileName);
    // Creates or replaces the file with the whole content.
    void SaveToFile(platform::IFileStreams& Files, const std::u16string& FileName) const;

protected:
    std::u16string_view ClassName() const override { return u"TKestroMemStream"; }
    std::uint32_t StringListLimit() const override { return StringListSafetyLimit; }

private:
    // "String too large: {N} bytes" when N is above the limit.
    static void CheckMemSafetyLimit(std::uint32_t N, std::uint32_t SafetyLimit);

    TBytes FData;
    std::int64_t FPosition = 0;
};

} // namespace orvel
