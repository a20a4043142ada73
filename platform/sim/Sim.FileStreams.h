#pragma once
// File handles over the simulated file system, with the sharing rules of the real backend:
// a file open for reading may be opened for reading again but not for writing; a file open for
// writing cannot be opened again at all. The file system and this object must outlive every
// handle they gave out.
#include "platform/Platform.FileStreams.h"
#include "platform/sim/Sim.FileSystem.h"

#include <limits>
#include <map>

namespace platform::sim {

class TSimFileStreams final : public IFileStreams {
public:
    explicit TSimFileStreams(TSimFileSystem& Files) : FFiles(Files) {}
    TSimFileStreams(const TSimFileStreams&) = delete;
    TSimFileStreams& operator=(const TSimFileStreams&) = delete;

    TFileOpenResult OpenRead(const std::u16string& Path) override;
    TFileOpenResult CreateWrite(const std::u16string& Path) override;

    // --- arranging the scene ---
    // A write that would make a file larger than this is refused, as on a full disk.
    void LimitFileSize(std::size_t Bytes) { FSizeLimit = Bytes; }

    // --- observing ---
    std::size_t ReadCalls() const { return FReadCalls; }   // IFileHandle::Read calls
    std::size_t WriteCalls() const { return FWriteCalls; } // IFileHandle::Write calls
    std::size_t OpenHandles() const;

private:
    friend class TSimFileHandle;
    struct TShares {
        int Readers = 0;
        bool Writer = false;
    };
    void Release(const std::u16string& Key, bool Writer);

    TSimFileSystem& FFiles;
    std::map<std::u16string, TShares> FShares; // by path key
    std::size_t FSizeLimit = std::numeric_limits<std::size_t>::max();
    std::size_t FReadCalls = 0;
    std::size_t FWriteCalls = 0;
};

} // namespace platform::sim
