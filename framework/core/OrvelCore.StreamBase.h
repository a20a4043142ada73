#pragma once
// orvel::TOrvelStreamBase: the framework's binary conventions (header, checkpoints, padding,
// length-prefixed strings, little-endian numbers, big-endian reads, rectangles, dates, arrays,
// string lists), written once over five primitives (Read, Write, Size, Position, SetPosition).
// The buffered file stream TOrvelStream (OrvelCore.StreamBuff) and the memory stream
// TKestroMemStream (OrvelCore.StreamMem) derive from it, so code that reads or writes the format
// takes a `TOrvelStreamBase&` and works on either; bytes written by one are read back by the other.
//
// Byte strings (`std::string`) are written and read unchanged; text (`std::u16string`) is UTF-8 in
// the stream. Every length taken from the stream is checked against the caller's limit and the
// bytes left before anything is allocated.
#include "framework/core/OrvelCore.Exceptions.h"

#include <algorithm>
#include <cstddef>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvel {

struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TRectF {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
    friend bool operator==(const TRectF&, const TRectF&) = default;
};

using TBytes = std::vector<std::uint8_t>;
// A list of lines; its "text" is every line followed by CR LF.
using TStringList = std::vector<std::u16string>;

// Every line followed by CR LF.
std::u16string StringListText(const TStringList& List);
// Splits at CR LF, CR or LF; a break at the very end adds no empty line.
TStringList SplitStringListText(std::u16string_view Text);

inline constexpr std::uint32_t StreamMagic = 0x6F56655A; // "ZeVo" as stored, little-endian
inline constexpr std::size_t SignatureLimit = 64;
inline constexpr std::string_view ValidationPattern =
    "<##Brennhaven - Pattern of exactly 64 bytes for safety check.##>";
inline constexpr std::string_view CheckpointPrefix = "<*>Checkpoint<*>";
inline constexpr std::uint32_t StoredNameReadLimit = 1024;

// Little-endian fields in a byte buffer, for code that fills or reads a stream's buffer in place.
// On a little-endian machine a field is one move; elsewhere the bytes are assembled one by one.
inline void StoreLE(std::uint8_t* At, std::uint64_t Value, std::size_t Bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(At, &Value, Bytes);
    } else {
        for (std::size_t i = 0; i < Bytes; ++i) {
            At[i] = static_cast<std::uint8_t>(Value >> (8 * i));
        }
    }
}
inline std::uint64_t LoadLE(const std::uint8_t* At, std::size_t Bytes) {
    std::uint64_t value = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&value, At, Bytes);
    } else {
        for (std::size_t i = 0; i < Bytes; ++i) {
            value |= static_cast<std::uint64_t>(At[i]) << (8 * i);
        }
    }
    return value;
}

class TOrvelStreamBase {
public:
    virtual ~TOrvelStreamBase() = default;

    // --- primitives ---
    // Reads up to `Count` bytes; gives the number read.
    virtual std::size_t Read(void* Buffer, std::size_t Count) = 0;
    // Writes `Count` bytes; gives the number written.
    virtual std::size_t Write(const void* Buffer, std::size_t Count) = 0;
    virtual std::int64_t Size() const = 0;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t Value) = 0;

    // Exactly `Count` bytes, or EReadError "Stream read error" / EWriteError "Stream write error".
    // What fits the stream's own buffer is copied here, without a virtual call.
    void ReadBuffer(void* Buffer, std::size_t Count) {
        if (Count <= static_cast<std::size_t>(FGetEnd - FGetNext) && Count != 0) {
            std::memcpy(Buffer, FGetNext, Count);
            FGetNext += Count;
            return;
        }
        ReadBufferSlow(Buffer, Count);
    }
    void WriteBuffer(const void* Buffer, std::size_t Count) {
        if (Count <= static_cast<std::size_t>(FPutEnd - FPutNext) && Count != 0) {
            std::memcpy(FPutNext, Buffer, Count);
            FPutNext += Count;
            return;
        }
        WriteBufferSlow(Buffer, Count);
    }

    // --- in-place access, for writers and readers of many small records ---
    // Room for up to Bytes bytes in the stream's own buffer at the current position, to be filled
    // and then handed over with CommitWrite; null when the stream cannot offer that much in one
    // piece (then write as usual).
    std::uint8_t* ReserveWrite(std::size_t Bytes) {
        if (Bytes <= static_cast<std::size_t>(FPutEnd - FPutNext) || MakeWriteRoom(Bytes)) {
            return FPutNext;
        }
        return nullptr;
    }
    // The first Bytes bytes of the reserved room now belong to the stream. Committing room that
    // was never reserved would move past the buffer: an assertion failure, never a stray write.
    void CommitWrite(std::size_t Bytes) {
        base::Assert(FPutNext != nullptr && Bytes <= static_cast<std::size_t>(FPutEnd - FPutNext),
                     u"CommitWrite beyond the room reserved");
        FPutNext += Bytes;
    }
    // The next Bytes bytes of the stream, readable in place, or null when they are not at hand in
    // one piece (then read as usual). SkipRead moves past them.
    const std::uint8_t* PeekRead(std::size_t Bytes) {
        if (Bytes <= static_cast<std::size_t>(FGetEnd - FGetNext) || MakeReadRoom(Bytes)) {
            return FGetNext;
        }
        return nullptr;
    }
    // Bytes not at hand in the buffer (a refused or a later peek may have closed the window)
    // are skipped by moving the position, so a skip never walks off the buffer.
    void SkipRead(std::size_t Bytes) {
        if (Bytes <= static_cast<std::size_t>(FGetEnd - FGetNext) && FGetNext != nullptr) {
            FGetNext += Bytes;
            return;
        }
        SetPosition(Position() + static_cast<std::int64_t>(Bytes));
    }
    // Size - Position, never negative.
    std::int64_t BytesLeft() const;

    // --- fixed-width values, little-endian ---
    void WriteBoolean(bool Value);
    bool ReadBoolean();
    void WriteByte(std::uint8_t Value);
    std::uint8_t ReadByte();
    void WriteShortInt(std::int8_t Value);
    std::int8_t ReadShortInt();
    void WriteSmallInt(std::int16_t Value);
    std::int16_t ReadSmallInt();
    void WriteWord(std::uint16_t Value);
    std::uint16_t ReadWord();
    void WriteInteger(std::int32_t Value);
    std::int32_t ReadInteger();
    void WriteCardinal(std::uint32_t Value);
    std::uint32_t ReadCardinal();
    void WriteInt64(std::int64_t Value);
    std::int64_t ReadInt64();
    void WriteUInt64(std::uint64_t Value);
    std::uint64_t ReadUInt64();
    void WriteSingle(float Value);
    float ReadSingle();
    void WriteDouble(double Value);
    double ReadDouble();
    // Days since 1899-12-30, the fraction being the time of day.
    void WriteDate(double Value);
    double ReadDate();
    void WriteRect(const TRect& Value);
    TRect ReadRect();
    void WriteRectF(const TRectF& Value);
    TRectF ReadRectF();
    // CR LF; ReadEnter consumes two bytes and is true only for 13 then 10.
    void WriteEnter();
    bool ReadEnter();

    // --- big-endian reads ---
    std::uint16_t RevReadWord();
    std::int32_t RevReadInteger();
    std::uint32_t RevReadCardinal();

    // --- length-prefixed strings (4-byte length, then the bytes) ---
    void WriteString(std::u16string_view Value);
    virtual std::u16string ReadString(std::uint32_t SafetyLimit);
    void WriteStringA(std::string_view Value);
    virtual std::string ReadStringA(std::uint32_t SafetyLimit);
    // The list's text through WriteString / ReadString.
    void WriteStrings(const TStringList& List);
    void ReadStrings(TStringList& List);
    TStringList ReadStrings();

    // --- strings without a prefix ---
    void WriteChars(std::string_view Value);    // bytes unchanged
    void WriteChars(std::u16string_view Value); // UTF-8
    void PushAnsi(std::string_view Value) { WriteChars(Value); }
    void PushString(std::u16string_view Value) { WriteChars(Value); }
    // Count bytes as UTF-8 text; a count beyond the end raises the read error.
    std::u16string ReadChars(std::uint32_t Count);
    virtual std::u16string ReadStringCnt(std::uint32_t Count, std::uint32_t SafetyLimit);
    virtual std::string ReadCharsA(std::uint32_t Count, std::uint32_t SafetyLimit);
    // Like ReadCharsA, but keeps whatever arrived.
    virtual std::string ReadStringACnt(std::uint32_t Count, std::uint32_t SafetyLimit);
    // The smaller of Count and the bytes left; never raises for lack of data.
    std::string TryReadStringA(std::uint32_t Count);

    // --- byte blocks and whole-stream views ---
    void PushBytes(const TBytes& Bytes);
    void PushBytesCnt(const TBytes& Buffer);
    TBytes ReadByteChunk();
    TBytes AsBytes();
    std::string AsString();

    // --- arrays: signed 32-bit count, then the items ---
    void WriteIntegers(const std::vector<std::int32_t>& List);
    void ReadIntegers(std::vector<std::int32_t>& List);
    void WriteDoubles(const std::vector<double>& List);
    void ReadDoubles(std::vector<double>& List);

    // --- header, checkpoints, padding ---
    void WriteHeader(std::string_view Signature, std::uint16_t Version);
    // The version read, or 0 (with an error line in the application's log, except for a wrong
    // magic) when the header is missing or not the expected one. Never raises for a bad header.
    std::uint16_t ReadHeader(std::string_view Signature);
    bool ReadHeader(std::string_view Signature, std::uint16_t Version);
    void WriteCheckPoint(std::string_view Name);
    bool ReadCheckPoint(std::string_view Name);
    void ReadCheckPointE(std::string_view Name);
    void WritePadding0(std::int32_t Bytes);
    void ReadPadding0(std::int32_t Bytes);
    void WritePaddingValidation(std::int32_t Bytes);
    void ReadPaddingValidation(std::int32_t Bytes);
    // The validation check of ReadPaddingValidation on bytes already at hand (at most the
    // pattern's 64): "Invalid checkpoint!!" when they differ from the pattern's start. Inline, so
    // that a check of a fixed count is a compare or two.
    static void CheckValidationPattern(const std::uint8_t* Bytes, std::size_t Count) {
        if (std::memcmp(Bytes, ValidationPattern.data(), std::min(Count, ValidationPattern.size())) != 0) {
            RaiseInvalidCheckpoint();
        }
    }

    // Where ReadHeader's error lines go: the application's log (TAppDataCore::LogError) unless
    // replaced; an empty sink restores that.
    using TErrorLineSink = std::function<void(const std::u16string&)>;
    void SetErrorLineSink(TErrorLineSink Sink) { FErrorLineSink = std::move(Sink); }

protected:
    TOrvelStreamBase() = default;
    TOrvelStreamBase(const TOrvelStreamBase&) = default;
    TOrvelStreamBase& operator=(const TOrvelStreamBase&) = default;

    // The window onto a derived stream's own buffer that the inline paths above use: bytes may be
    // written to [FPutNext, FPutEnd) and read from [FGetNext, FGetEnd). A derived stream that sets
    // one up counts what the inline paths consumed before it does anything else (every virtual
    // operation does) and keeps at most one of them open. Both are empty unless a derived stream
    // sets them up.
    std::uint8_t* FPutNext = nullptr;
    std::uint8_t* FPutEnd = nullptr;
    const std::uint8_t* FGetNext = nullptr;
    const std::uint8_t* FGetEnd = nullptr;
    // Opens the put or get window with at least Bytes bytes when the stream can; false otherwise.
    virtual bool MakeWriteRoom(std::size_t /*Bytes*/) { return false; }
    virtual bool MakeReadRoom(std::size_t /*Bytes*/) { return false; }

    // The class named in messages ("TOrvelStream", "TKestroMemStream").
    virtual std::u16string_view ClassName() const = 0;
    // The largest string-list text ReadStrings accepts.
    virtual std::uint32_t StringListLimit() const = 0;

    // N bytes read with ReadBuffer; raises the read error before allocating when fewer are left.
    std::string ReadExactly(std::uint32_t N);
    // "String too large. Trying to read: {N} bytes" when fewer than N bytes are left.
    void EnsureAvailable(std::uint32_t N) const;
    // "String too large: {N} bytes (SafetyLimit: {limit})" when N is above the limit.
    static void CheckSafetyLimit(std::uint32_t N, std::uint32_t SafetyLimit);

private:
    [[noreturn]] static void RaiseInvalidCheckpoint();
    void ReadBufferSlow(void* Buffer, std::size_t Count);
    void WriteBufferSlow(const void* Buffer, std::size_t Count);
    std::string ReadSignature();
    void LogErrorLine(const std::u16string& Line) const;

    TErrorLineSink FErrorLineSink;
};

} // namespace orvel
