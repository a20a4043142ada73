#include "bench/Bench.Posix.h"

#include "base/Base.Unicode.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace bench {

namespace {

std::string Native(const std::u16string& path) {
    return base::Utf16ToUtf8(path);
}

platform::TFsResult Errno() {
    const int code = errno;
    return platform::TFsResult::Failure(static_cast<std::uint32_t>(code),
                                        base::Utf8ToUtf16(std::strerror(code)));
}

double RealSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

class TPosixHandle final : public platform::IFileHandle {
public:
    explicit TPosixHandle(int fd) : FFd(fd) {}
    ~TPosixHandle() override { ::close(FFd); }
    TPosixHandle(const TPosixHandle&) = delete;
    TPosixHandle& operator=(const TPosixHandle&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::read(FFd, static_cast<char*>(buffer) + done, count - done);
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        FPos += static_cast<std::int64_t>(done);
        return done;
    }
    bool Write(const void* buffer, std::size_t count) override {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::write(FFd, static_cast<const char*>(buffer) + done, count - done);
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        FPos += static_cast<std::int64_t>(done);
        return done == count;
    }
    bool Seek(std::int64_t position) override {
        if (::lseek(FFd, position, SEEK_SET) < 0) {
            return false;
        }
        FPos = position;
        return true;
    }
    std::int64_t Position() const override { return FPos; }
    std::int64_t Size() const override {
        struct stat st {};
        return ::fstat(FFd, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
    }

private:
    int FFd;
    std::int64_t FPos = 0;
};

platform::TFileOpenResult Open(const std::u16string& path, int flags) {
    const int fd = ::open(Native(path).c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) {
        return {nullptr, Errno()};
    }
    return {std::make_unique<TPosixHandle>(fd), platform::TFsResult::Success()};
}

} // namespace

platform::TDateTime TPosixClock::Now() const {
    return RealSeconds() / 86400.0 + 25569.0; // 25569: days from 1899-12-30 to 1970-01-01
}

std::uint64_t TPosixClock::MonotonicMs() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
}

platform::TFileOpenResult TPosixFileStreams::OpenRead(const std::u16string& path) {
    return Open(path, O_RDONLY);
}

platform::TFileOpenResult TPosixFileStreams::CreateWrite(const std::u16string& path) {
    return Open(path, O_RDWR | O_CREAT | O_TRUNC);
}

bool TPosixFileSystem::FileExists(const std::u16string& path) const {
    struct stat st {};
    return ::stat(Native(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool TPosixFileSystem::FolderExists(const std::u16string& path, bool followLink) const {
    struct stat st {};
    const int rc = followLink ? ::stat(Native(path).c_str(), &st) : ::lstat(Native(path).c_str(), &st);
    return rc == 0 && (S_ISDIR(st.st_mode) || (!followLink && S_ISLNK(st.st_mode)));
}

platform::TFsResult TPosixFileSystem::CreateFolder(const std::u16string& path) {
    if (::mkdir(Native(path).c_str(), 0755) == 0 || errno == EEXIST) {
        return platform::TFsResult::Success();
    }
    return Errno();
}

std::optional<std::string> TPosixFileSystem::ReadFile(const std::u16string& path) const {
    auto opened = Open(path, O_RDONLY);
    if (!opened.Handle) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(opened.Handle->Size()), '\0');
    bytes.resize(opened.Handle->Read(bytes.data(), bytes.size()));
    return bytes;
}

platform::TFsResult TPosixFileSystem::WriteFileAtomic(const std::u16string& path, std::string_view bytes) {
    const std::u16string temp = path + u".tmp";
    {
        auto opened = Open(temp, O_WRONLY | O_CREAT | O_TRUNC);
        if (!opened.Handle) {
            return opened.Status;
        }
        if (!opened.Handle->Write(bytes.data(), bytes.size())) {
            return Errno();
        }
    }
    if (::rename(Native(temp).c_str(), Native(path).c_str()) != 0) {
        return Errno();
    }
    return platform::TFsResult::Success();
}

platform::TFsResult TPosixFileSystem::RemoveFile(const std::u16string& path) {
    return ::unlink(Native(path).c_str()) == 0 ? platform::TFsResult::Success() : Errno();
}

} // namespace bench
