#pragma once
// Real-disk and real-clock services for the benchmark program on Linux. Bench-only: the product's
// backends are platform/win32 and, for tests, platform/sim. Paths are taken as they come (UTF-16
// turned into UTF-8); no Windows path rules.
#include "platform/Platform.Clock.h"
#include "platform/Platform.FileStreams.h"
#include "platform/Platform.FileSystem.h"

namespace bench {

// The real-time clock as days since 1899-12-30 (UTC: the time-zone lookup is left out, it would
// only add the same cost to every contender).
class TPosixClock final : public platform::IClock {
public:
    platform::TDateTime Now() const override;
    std::uint64_t MonotonicMs() const override;
};

class TPosixFileStreams final : public platform::IFileStreams {
public:
    platform::TFileOpenResult OpenRead(const std::u16string& path) override;
    platform::TFileOpenResult CreateWrite(const std::u16string& path) override;
};

class TPosixFileSystem final : public platform::IFileSystem {
public:
    bool FileExists(const std::u16string& path) const override;
    bool FolderExists(const std::u16string& path, bool followLink) const override;
    platform::TFsResult CreateFolder(const std::u16string& path) override;
    std::optional<std::string> ReadFile(const std::u16string& path) const override;
    platform::TFsResult WriteFileAtomic(const std::u16string& path, std::string_view bytes) override;
    platform::TFsResult RemoveFile(const std::u16string& path) override;
};

} // namespace bench
