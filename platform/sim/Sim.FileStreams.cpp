#include "platform/sim/Sim.FileStreams.h"

#include <algorithm>
#include <cstring>

namespace platform::sim {

namespace {

constexpr std::uint32_t ErrorFileNotFound = 2;
constexpr std::uint32_t ErrorAccessDenied = 5;
constexpr std::uint32_t ErrorSharingViolation = 32;

TFileOpenResult Refused(TFsResult Status) {
    return {nullptr, std::move(Status)};
}

TFileOpenResult SharingViolation() {
    return Refused(TFsResult::Failure(
        ErrorSharingViolation, u"The process cannot access the file because it is being used by another "
                               u"process."));
}

} // namespace

class TSimFileHandle final : public IFileHandle {
public:
    TSimFileHandle(TSimFileStreams& Owner, std::u16string Path, bool Writable)
        : FOwner(Owner), FPath(std::move(Path)), FKey(Owner.FFiles.PathKey(FPath)), FWritable(Writable) {}
    ~TSimFileHandle() override { FOwner.Release(FKey, FWritable); }
    TSimFileHandle(const TSimFileHandle&) = delete;
    TSimFileHandle& operator=(const TSimFileHandle&) = delete;

    std::size_t Read(void* Buffer, std::size_t Count) override {
        ++FOwner.FReadCalls;
        const std::string* bytes = FOwner.FFiles.FileBytes(FPath);
        if (bytes == nullptr || FPosition >= static_cast<std::int64_t>(bytes->size())) {
            return 0;
        }
        const auto offset = static_cast<std::size_t>(FPosition);
        const std::size_t step = std::min(Count, bytes->size() - offset);
        std::memcpy(Buffer, bytes->data() + offset, step);
        FPosition += static_cast<std::int64_t>(step);
        return step;
    }

    bool Write(const void* Buffer, std::size_t Count) override {
        ++FOwner.FWriteCalls;
        std::string* bytes = FOwner.FFiles.FileBytes(FPath);
        const auto offset = static_cast<std::size_t>(FPosition);
        if (!FWritable || bytes == nullptr || offset + Count > FOwner.FSizeLimit) {
            return false;
        }
        if (offset + Count > bytes->size()) {
            bytes->resize(offset + Count);
        }
        std::memcpy(bytes->data() + offset, Buffer, Count);
        FPosition += static_cast<std::int64_t>(Count);
        return true;
    }

    bool Seek(std::int64_t Position) override {
        if (Position < 0) {
            return false;
        }
        FPosition = Position;
        return true;
    }

    std::int64_t Position() const override { return FPosition; }

    std::int64_t Size() const override {
        const std::string* bytes = FOwner.FFiles.FileBytes(FPath);
        return bytes == nullptr ? -1 : static_cast<std::int64_t>(bytes->size());
    }

private:
    TSimFileStreams& FOwner;
    std::u16string FPath;
    std::u16string FKey;
    bool FWritable;
    std::int64_t FPosition = 0;
};

TFileOpenResult TSimFileStreams::OpenRead(const std::u16string& Path) {
    if (FFiles.FileBytes(Path) == nullptr) {
        if (FFiles.FolderExists(Path, true)) {
            return Refused(TFsResult::Failure(ErrorAccessDenied, u"Access is denied."));
        }
        return Refused(TFsResult::Failure(ErrorFileNotFound, u"The system cannot find the file specified."));
    }
    const std::u16string key = FFiles.PathKey(Path);
    TShares& shares = FShares[key];
    if (shares.Writer) {
        return SharingViolation();
    }
    ++shares.Readers;
    return {std::make_unique<TSimFileHandle>(*this, Path, false), TFsResult::Success()};
}

TFileOpenResult TSimFileStreams::CreateWrite(const std::u16string& Path) {
    const std::u16string key = FFiles.PathKey(Path);
    if (auto it = FShares.find(key); it != FShares.end() && (it->second.Writer || it->second.Readers > 0)) {
        return SharingViolation();
    }
    TFsResult created = FFiles.CreateEmptyFile(Path);
    if (!created.Ok) {
        return Refused(std::move(created));
    }
    FShares[key].Writer = true;
    return {std::make_unique<TSimFileHandle>(*this, Path, true), TFsResult::Success()};
}

std::size_t TSimFileStreams::OpenHandles() const {
    std::size_t count = 0;
    for (const auto& [key, shares] : FShares) {
        count += static_cast<std::size_t>(shares.Readers) + (shares.Writer ? 1 : 0);
    }
    return count;
}

void TSimFileStreams::Release(const std::u16string& Key, bool Writer) {
    auto it = FShares.find(Key);
    if (it == FShares.end()) {
        return;
    }
    if (Writer) {
        it->second.Writer = false;
    } else if (it->second.Readers > 0) {
        --it->second.Readers;
    }
    if (!it->second.Writer && it->second.Readers == 0) {
        FShares.erase(it);
    }
}

} // namespace platform::sim
