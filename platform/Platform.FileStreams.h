#pragma once
#include "platform/Platform.Types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// One open file, read and written at an explicit position. Closing happens when the object is
// destroyed.
class IFileHandle {
public:
    virtual ~IFileHandle() = default;
    // Reads up to `Count` bytes at the current position and moves past them; gives the number
    // read, 0 at the end of the file or when the system refuses.
    virtual std::size_t Read(void* Buffer, std::size_t Count) = 0;
    // Writes `Count` bytes at the current position and moves past them; false when not every
    // byte was written.
    virtual bool Write(const void* Buffer, std::size_t Count) = 0;
    // Moves to an absolute byte offset (beyond the end is allowed, as Windows allows it).
    virtual bool Seek(std::int64_t Position) = 0;
    virtual std::int64_t Position() const = 0;
    // The file's size in bytes; -1 when the system cannot tell.
    virtual std::int64_t Size() const = 0;
};

// A handle, or the reason why there is none (code and the system's own text).
struct TFileOpenResult {
    std::unique_ptr<IFileHandle> Handle;
    TFsResult Status;
};

// Opens files for the binary streams.
class IFileStreams {
public:
    virtual ~IFileStreams() = default;
    // An existing file, for reading; others may read it meanwhile but not write it.
    virtual TFileOpenResult OpenRead(const std::u16string& Path) = 0;
    // Creates the file or empties an existing one, for writing (reading back is allowed too);
    // nobody else may open it while the handle lives.
    virtual TFileOpenResult CreateWrite(const std::u16string& Path) = 0;
};

} // namespace platform
