#pragma once
// orvel::TOrvelStream: a buffered file stream with the framework's binary conventions, which it
// inherits from orvel::TOrvelStreamBase (OrvelCore.StreamBase.h).
//
// Reads go through a 1 MiB buffer and writes through a 32 KiB buffer, so the many small
// fixed-width values of the log format cost no system call each, and those that fit the buffer
// are copied by the base class's inline paths without a virtual call. Pending writes reach the
// file when the buffer fills, on Flush(), on Close() and on destruction. A destructor must not throw,
// so the one on destruction swallows a failure: call Close() (or Flush()) to learn whether every
// byte reached the file; they raise EWriteError "Stream write error".
#include "framework/core/OrvelCore.StreamBase.h"
#include "platform/Platform.FileStreams.h"

#include <memory>

namespace orvel {

class TOrvelStream final : public TOrvelStreamBase {
public:
    static constexpr std::size_t ReadBufferSize = 1048576;
    static constexpr std::size_t WriteBufferSize = 32768;

    // An existing file, for reading; others may read it meanwhile but not write it. A missing or
    // locked file raises EReadError "Cannot open file \"{path}\". {reason}".
    static TOrvelStream CreateRead(platform::IFileStreams& Files, const std::u16string& FileName,
                                   std::size_t BufferSize = ReadBufferSize);
    // Creates or replaces the file, for writing with no sharing. Failure raises EFCreateError
    // "Cannot create file \"{path}\". {reason}".
    static TOrvelStream CreateWrite(platform::IFileStreams& Files, const std::u16string& FileName,
                                    std::size_t BufferSize = WriteBufferSize);

    TOrvelStream(TOrvelStream&& Other) noexcept;
    TOrvelStream& operator=(TOrvelStream&&) = delete;
    TOrvelStream(const TOrvelStream&) = delete;
    TOrvelStream& operator=(const TOrvelStream&) = delete;
    ~TOrvelStream() override;

    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Size() const override;
    std::int64_t Position() const override;
    void SetPosition(std::int64_t Value) override;

    // Hands the pending writes to the file; EWriteError "Stream write error" when it refuses.
    void Flush();
    // Flushes and closes the file; afterwards every read and write fails. Raises like Flush(),
    // and the file is closed even then.
    void Close();
    bool IsOpen() const { return FHandle != nullptr; }
    const std::u16string& FileName() const { return FFileName; }

protected:
    std::u16string_view ClassName() const override { return u"TOrvelStream"; }
    // Whatever is left in the file.
    std::uint32_t StringListLimit() const override;
    bool MakeWriteRoom(std::size_t Bytes) override;
    bool MakeReadRoom(std::size_t Bytes) override;

private:
    TOrvelStream(std::unique_ptr<platform::IFileHandle> Handle, std::u16string FileName,
                 std::size_t BufferSize);
    bool FillReadBuffer();
    // The handle's own calls, noting where the handle stands, so that sequential reads and writes
    // do not ask the system to move it to where it already is.
    bool SeekHandle(std::int64_t To);
    bool WriteHandle(const void* Buffer, std::size_t Count);
    std::size_t ReadHandle(void* Buffer, std::size_t Count);
    // Counts what the inline paths read or wrote through the open window into FPosition and
    // FWriteLength, and closes the window. Every operation below starts with it.
    void Settle();
    // Opens the get window over the cached bytes at the position, or the put window behind the
    // pending bytes when the position continues them.
    void OpenGetWindow();
    void OpenPutWindow();
    // Pending bytes and the position, also while a window is open.
    std::size_t PendingBytes() const;

    std::unique_ptr<platform::IFileHandle> FHandle;
    std::u16string FFileName;
    std::vector<std::uint8_t> FBuffer; // holds either cached file bytes or pending writes
    std::int64_t FBufferStart = 0;     // file offset of FBuffer[0]
    std::size_t FReadLength = 0;       // cached bytes valid in FBuffer (0 while writing)
    std::size_t FWriteLength = 0;      // pending bytes in FBuffer (0 while reading); stale while the put window is open
    std::int64_t FFileSize = 0;        // the file's size as far as it has been written
    std::int64_t FPosition = 0;        // stale while a window is open
    std::int64_t FHandleAt = -1;       // where the handle stands; -1 when not known
};

} // namespace orvel
