#include "platform/sim/Sim.Registry.h"

#include "base/Base.Text.h"

#include <stdexcept>

namespace platform::sim {

namespace {

bool IsAtOrBelow(const std::u16string& path, const std::u16string& ancestor) {
    if (ancestor.empty())
        return true;
    return path == ancestor ||
           (path.size() > ancestor.size() && path.starts_with(ancestor) && path[ancestor.size()] == u'\\');
}

} // namespace

// A key open in the simulated registry; counts itself open until destroyed.
class TSimRegistry::TKey final : public IRegistryKey {
public:
    TKey(TSimRegistry& owner, TKeyId id, bool writable, bool lazyWrite)
        : FOwner(owner), FId(std::move(id)), FWritable(writable), FLazyWrite(lazyWrite) {
        ++FOwner.FOpenKeys;
    }
    ~TKey() override {
        if (FWritable && !FLazyWrite)
            ++FOwner.FFlushes;
        --FOwner.FOpenKeys;
    }
    TKey(const TKey&) = delete;
    TKey& operator=(const TKey&) = delete;

    std::optional<std::u16string> ReadString(const std::u16string& name) const override {
        const auto key = FOwner.FKeys.find(FId);
        if (key == FOwner.FKeys.end())
            return std::nullopt;
        const auto value = key->second.Values.find(base::FoldedAscii(name));
        if (value == key->second.Values.end() || value->second.Type != TypeString)
            return std::nullopt;
        return value->second.Text;
    }

    TRegistryResult WriteString(const std::u16string& name, const std::u16string& value) override {
        if (!FWritable)
            return {false, AccessDenied, u"Access is denied."};
        if (FOwner.FWriteError != 0)
            return {false, FOwner.FWriteError, u"The simulated registry refused the write."};
        FOwner.FKeys[FId].Values[base::FoldedAscii(name)] = TValue{TypeString, value};
        return {};
    }

    TRegistryResult DeleteValue(const std::u16string& name) override {
        if (!FWritable)
            return {false, AccessDenied, u"Access is denied."};
        const auto key = FOwner.FKeys.find(FId);
        if (key != FOwner.FKeys.end())
            key->second.Values.erase(base::FoldedAscii(name));
        return {};
    }

private:
    TSimRegistry& FOwner;
    TKeyId FId;
    bool FWritable;
    bool FLazyWrite;
};

std::optional<std::u16string> TSimRegistry::FoldedPath(const std::u16string& path) {
    // Windows refuses a leading backslash and empty parts.
    if (path.starts_with(u'\\') || path.ends_with(u'\\') || path.find(u"\\\\") != std::u16string::npos)
        return std::nullopt;
    return base::FoldedAscii(path);
}

bool TSimRegistry::WriteDenied(const TKeyId& key) const {
    for (const TKeyId& denied : FDenied) {
        if (denied.first == key.first && IsAtOrBelow(key.second, denied.second))
            return true;
    }
    return false;
}

void TSimRegistry::CreateWithParents(const TKeyId& key) {
    for (std::size_t at = key.second.find(u'\\'); at != std::u16string::npos;
         at = key.second.find(u'\\', at + 1))
        FKeys.try_emplace(TKeyId{key.first, key.second.substr(0, at)});
    FKeys.try_emplace(key);
}

void TSimRegistry::DenyWrite(TRegistryRoot root, const std::u16string& path) {
    FDenied.insert(TKeyId{root, base::FoldedAscii(path)});
}

void TSimRegistry::AddValueOfType(TRegistryRoot root, const std::u16string& path, const std::u16string& name,
                                  std::uint32_t type) {
    const auto folded = FoldedPath(path);
    if (!folded)
        throw std::invalid_argument("TSimRegistry::AddValueOfType: not a key path");
    const TKeyId id{root, *folded};
    CreateWithParents(id);
    FKeys[id].Values[base::FoldedAscii(name)] = TValue{type, {}};
}

std::optional<std::u16string> TSimRegistry::Value(TRegistryRoot root, const std::u16string& path,
                                                  const std::u16string& name) const {
    const auto key = FKeys.find(TKeyId{root, base::FoldedAscii(path)});
    if (key == FKeys.end())
        return std::nullopt;
    const auto value = key->second.Values.find(base::FoldedAscii(name));
    if (value == key->second.Values.end() || value->second.Type != TypeString)
        return std::nullopt;
    return value->second.Text;
}

std::unique_ptr<IRegistryKey> TSimRegistry::OpenForWrite(TRegistryRoot root, const std::u16string& path,
                                                         bool lazyWrite) {
    const auto folded = FoldedPath(path);
    if (!folded)
        return nullptr;
    const TKeyId id{root, *folded};
    if (WriteDenied(id))
        return nullptr;
    CreateWithParents(id);
    return std::make_unique<TKey>(*this, id, true, lazyWrite);
}

std::unique_ptr<IRegistryKey> TSimRegistry::OpenForRead(TRegistryRoot root, const std::u16string& path) {
    if (!KeyExists(root, path))
        return nullptr;
    return std::make_unique<TKey>(*this, TKeyId{root, *FoldedPath(path)}, false, true);
}

bool TSimRegistry::KeyExists(TRegistryRoot root, const std::u16string& path) const {
    const auto folded = FoldedPath(path);
    if (!folded)
        return false;
    return folded->empty() || FKeys.contains(TKeyId{root, *folded});
}

} // namespace platform::sim
