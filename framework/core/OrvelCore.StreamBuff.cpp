#include "framework/core/OrvelCore.StreamBuff.h"

#include "framework/core/OrvelCore.Exceptions.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace orvel {

TOrvelStream TOrvelStream::CreateRead(platform::IFileStreams& Files, const std::u16string& FileName,
                                      std::size_t BufferSize) {
    platform::TFileOpenResult opened = Files.OpenRead(FileName);
    if (!opened.Status.Ok || !opened.Handle) {
        throw EReadError(u"Cannot open file \"" + FileName + u"\". " + opened.Status.Message);
    }
    // A reader never caches more than the file holds: small files are the common case, and a
    // full-size buffer for them costs more to clear than the reading itself.
    const std::int64_t fileSize = std::max<std::int64_t>(opened.Handle->Size(), 1);
    if (static_cast<std::uint64_t>(fileSize) < BufferSize) {
        BufferSize = static_cast<std::size_t>(fileSize);
    }
    return TOrvelStream(std::move(opened.Handle), FileName, BufferSize);
}

TOrvelStream TOrvelStream::CreateWrite(platform::IFileStreams& Files, const std::u16string& FileName,
                                       std::size_t BufferSize) {
    platform::TFileOpenResult created = Files.CreateWrite(FileName);
    if (!created.Status.Ok || !created.Handle) {
        throw EFCreateError(u"Cannot create file \"" + FileName + u"\". " + created.Status.Message);
    }
    return TOrvelStream(std::move(created.Handle), FileName, BufferSize);
}

TOrvelStream::TOrvelStream(std::unique_ptr<platform::IFileHandle> Handle, std::u16string FileName,
                           std::size_t BufferSize)
    : FHandle(std::move(Handle)), FFileName(std::move(FileName)),
      FBuffer(std::max<std::size_t>(BufferSize, 1)), FFileSize(std::max<std::int64_t>(FHandle->Size(), 0)) {}

TOrvelStream::TOrvelStream(TOrvelStream&& Other) noexcept
    : TOrvelStreamBase(Other), FHandle(std::move(Other.FHandle)), FFileName(std::move(Other.FFileName)),
      FBuffer(std::move(Other.FBuffer)), FBufferStart(Other.FBufferStart), FReadLength(Other.FReadLength),
      FWriteLength(Other.FWriteLength), FFileSize(Other.FFileSize), FPosition(Other.FPosition),
      FHandleAt(Other.FHandleAt) {
    // The windows moved with the buffer; the emptied stream must not keep pointing into it.
    Other.FPutNext = Other.FPutEnd = nullptr;
    Other.FGetNext = Other.FGetEnd = nullptr;
}

TOrvelStream::~TOrvelStream() {
    // A destructor must not throw; callers that need to know whether the last bytes arrived call
    // Close() first.
    try {
        Close();
    } catch (...) {
    }
}

bool TOrvelStream::SeekHandle(std::int64_t To) {
    if (FHandleAt == To) {
        return true;
    }
    FHandleAt = FHandle->Seek(To) ? To : -1;
    return FHandleAt == To;
}

bool TOrvelStream::WriteHandle(const void* Buffer, std::size_t Count) {
    const bool written = FHandle->Write(Buffer, Count);
    FHandleAt = written ? FHandleAt + static_cast<std::int64_t>(Count) : -1;
    return written;
}

std::size_t TOrvelStream::ReadHandle(void* Buffer, std::size_t Count) {
    const std::size_t read = FHandle->Read(Buffer, Count);
    FHandleAt += static_cast<std::int64_t>(read);
    return read;
}

void TOrvelStream::Settle() {
    if (FGetNext != nullptr) {
        FPosition = FBufferStart + (FGetNext - FBuffer.data());
        FGetNext = FGetEnd = nullptr;
    }
    if (FPutNext != nullptr) {
        FWriteLength = static_cast<std::size_t>(FPutNext - FBuffer.data());
        FPosition = FBufferStart + static_cast<std::int64_t>(FWriteLength);
        FPutNext = FPutEnd = nullptr;
    }
}

void TOrvelStream::OpenGetWindow() {
    if (FHandle && FWriteLength == 0 && FPosition >= FBufferStart &&
        FPosition < FBufferStart + static_cast<std::int64_t>(FReadLength)) {
        FGetNext = FBuffer.data() + (FPosition - FBufferStart);
        FGetEnd = FBuffer.data() + FReadLength;
    }
}

void TOrvelStream::OpenPutWindow() {
    if (!FHandle || FPosition < 0) {
        return;
    }
    if (FWriteLength == 0) {
        FBufferStart = FPosition;
    } else if (FPosition != FBufferStart + static_cast<std::int64_t>(FWriteLength)) {
        return;
    }
    FReadLength = 0; // the buffer now holds pending writes, not cached file bytes
    FPutNext = FBuffer.data() + FWriteLength;
    FPutEnd = FBuffer.data() + FBuffer.size();
}

std::size_t TOrvelStream::PendingBytes() const {
    return FPutNext != nullptr ? static_cast<std::size_t>(FPutNext - FBuffer.data()) : FWriteLength;
}

std::int64_t TOrvelStream::Position() const {
    if (FGetNext != nullptr) {
        return FBufferStart + (FGetNext - FBuffer.data());
    }
    if (FPutNext != nullptr) {
        return FBufferStart + (FPutNext - FBuffer.data());
    }
    return FPosition;
}

bool TOrvelStream::MakeWriteRoom(std::size_t Bytes) {
    Settle();
    if (!FHandle || FPosition < 0 || Bytes > FBuffer.size()) {
        return false;
    }
    if (FWriteLength > 0 && (FPosition != FBufferStart + static_cast<std::int64_t>(FWriteLength) ||
                             FBuffer.size() - FWriteLength < Bytes)) {
        Flush();
    }
    OpenPutWindow();
    return FPutNext != nullptr;
}

bool TOrvelStream::MakeReadRoom(std::size_t Bytes) {
    Settle();
    if (!FHandle || FPosition < 0 || Bytes > FBuffer.size()) {
        return false;
    }
    Flush(); // what was written must be readable
    const bool cached = FPosition >= FBufferStart &&
                        FPosition + static_cast<std::int64_t>(Bytes) <= FBufferStart + static_cast<std::int64_t>(FReadLength);
    if (!cached) {
        FillReadBuffer();
    }
    OpenGetWindow();
    return static_cast<std::size_t>(FGetEnd - FGetNext) >= Bytes && FGetNext != nullptr;
}

void TOrvelStream::Flush() {
    Settle();
    if (FWriteLength == 0 || !FHandle) {
        return;
    }
    const std::size_t pending = std::exchange(FWriteLength, 0);
    // The pending bytes are dropped on failure, so a later flush does not write them at a
    // position the caller has since moved away from.
    if (!SeekHandle(FBufferStart) || !WriteHandle(FBuffer.data(), pending)) {
        throw EWriteError(u"Stream write error");
    }
    FFileSize = std::max(FFileSize, FBufferStart + static_cast<std::int64_t>(pending));
}

void TOrvelStream::Close() {
    Settle();
    if (!FHandle) {
        return;
    }
    try {
        Flush();
    } catch (...) {
        FHandle.reset();
        throw;
    }
    FHandle.reset();
}

std::int64_t TOrvelStream::Size() const {
    const std::size_t pending = PendingBytes();
    const std::int64_t pendingEnd = pending > 0 ? FBufferStart + static_cast<std::int64_t>(pending) : 0;
    return std::max(FFileSize, pendingEnd);
}

void TOrvelStream::SetPosition(std::int64_t Value) {
    // Moving is lazy: the file is only repositioned by the next read or flush.
    Settle();
    FPosition = Value;
}

std::uint32_t TOrvelStream::StringListLimit() const {
    return static_cast<std::uint32_t>(
        std::min<std::int64_t>(BytesLeft(), std::numeric_limits<std::uint32_t>::max()));
}

bool TOrvelStream::FillReadBuffer() {
    FBufferStart = FPosition;
    FReadLength = 0;
    if (!SeekHandle(FPosition)) {
        return false;
    }
    FReadLength = ReadHandle(FBuffer.data(), FBuffer.size());
    return FReadLength > 0;
}

std::size_t TOrvelStream::Read(void* Buffer, std::size_t Count) {
    Settle();
    if (!FHandle || FPosition < 0) {
        return 0;
    }
    Flush(); // what was written must be readable
    auto* out = static_cast<std::uint8_t*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        if (FPosition >= FBufferStart && FPosition < FBufferStart + static_cast<std::int64_t>(FReadLength)) {
            const auto offset = static_cast<std::size_t>(FPosition - FBufferStart);
            const std::size_t step = std::min(Count - done, FReadLength - offset);
            std::memcpy(out + done, FBuffer.data() + offset, step);
            done += step;
            FPosition += static_cast<std::int64_t>(step);
            continue;
        }
        if (Count - done >= FBuffer.size()) {
            // A block at least as large as the buffer gains nothing from a copy through it.
            if (!SeekHandle(FPosition)) {
                break;
            }
            const std::size_t step = ReadHandle(out + done, Count - done);
            if (step == 0) {
                break;
            }
            done += step;
            FPosition += static_cast<std::int64_t>(step);
            continue;
        }
        if (!FillReadBuffer()) {
            break;
        }
    }
    OpenGetWindow();
    return done;
}

std::size_t TOrvelStream::Write(const void* Buffer, std::size_t Count) {
    Settle();
    if (!FHandle || FPosition < 0) {
        return 0;
    }
    FReadLength = 0; // the cache shares the buffer and may no longer match the file
    if (FWriteLength > 0 && FPosition != FBufferStart + static_cast<std::int64_t>(FWriteLength)) {
        Flush();
    }
    const auto* in = static_cast<const std::uint8_t*>(Buffer);
    if (Count >= FBuffer.size()) {
        Flush();
        if (!SeekHandle(FPosition) || !WriteHandle(in, Count)) {
            return 0;
        }
        FPosition += static_cast<std::int64_t>(Count);
        FFileSize = std::max(FFileSize, FPosition);
        return Count;
    }
    std::size_t done = 0;
    while (done < Count) {
        if (FWriteLength == 0) {
            FBufferStart = FPosition;
        }
        const std::size_t step = std::min(Count - done, FBuffer.size() - FWriteLength);
        std::memcpy(FBuffer.data() + FWriteLength, in + done, step);
        FWriteLength += step;
        done += step;
        FPosition += static_cast<std::int64_t>(step);
        if (FWriteLength == FBuffer.size()) {
            Flush();
        }
    }
    OpenPutWindow();
    return Count;
}

} // namespace orvel
