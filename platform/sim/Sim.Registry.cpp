#include "platform/sim/Sim.Registry.h"

#include "base/Base.Text.h"

#include <stdexcept>

namespace platform::sim {

namespace {

bool IsAtOrBelow(const std::u16string& Path, const std::u16string& Ancestor) {
    if (Ancestor.empty())
        return true;
    return Path == Ancestor ||
           (Path.size() > Ancestor.size() && Path.starts_with(Ancestor) && Path[Ancestor.size()] == u'\\');
}

} // namespace

// A key open in the simulated registry; counts itself open until destroyed.
class TSimRegistry::TKey final : public IRegistryKey {
public:
    TKey(TSimRegistry& Owner, TKeyId Id, bool Writable, bool LazyWrite)
        : FOwner(Owner), FId(std::move(Id)), FWritable(Writable), FLazyWrite(LazyWrite) {
        ++FOwner.FOpenKeys;
    }
    ~TKey() override {
        if (FWritable && !FLazyWrite)
            ++FOwner.FFlushes;
        --FOwner.FOpenKeys;
    }
    TKey(const TKey&) = delete;
    TKey& operator=(const TKey&) = delete;

    std::optional<std::u16string> ReadString(const std::u16string& Name) const override {
        const auto key = FOwner.FKeys.find(FId);
        if (key == FOwner.FKeys.end())
            return std::nullopt;
        const auto value = key->second.Values.find(base::FoldedAscii(Name));
        if (value == key->second.Values.end() || value->second.Type != TypeString)
            return std::nullopt;
        return value->second.Text;
    }

    TRegistryResult WriteString(const std::u16string& Name, const std::u16string& Value) override {
        if (!FWritable)
            return {false, AccessDenied, u"Access is denied."};
        if (FOwner.FWriteError != 0)
            return {false, FOwner.FWriteError, u"The simulated registry refused the write."};
        FOwner.FKeys[FId].Values[base::FoldedAscii(Name)] = TValue{TypeString, Value};
        return {};
    }

    TRegistryResult DeleteValue(const std::u16string& Name) override {
        if (!FWritable)
            return {false, AccessDenied, u"Access is denied."};
        const auto key = FOwner.FKeys.find(FId);
        if (key != FOwner.FKeys.end())
            key->second.Values.erase(base::FoldedAscii(Name));
        return {};
    }

private:
    TSimRegistry& FOwner;
    TKeyId FId;
    bool FWritable;
    bool FLazyWrite;
};

std::optional<std::u16string> TSimRegistry::FoldedPath(const std::u16string& Path) {
    // Windows refuses a leading backslash and empty parts.
    if (Path.starts_with(u'\\') || Path.ends_with(u'\\') || Path.find(u"\\\\") != std::u16string::npos)
        return std::nullopt;
    return base::FoldedAscii(Path);
}

bool TSimRegistry::WriteDenied(const TKeyId& Key) const {
    for (const TKeyId& denied : FDenied) {
        if (denied.first == Key.first && IsAtOrBelow(Key.second, denied.second))
            return true;
    }
    return false;
}

void TSimRegistry::CreateWithParents(const TKeyId& Key) {
    for (std::size_t at = Key.second.find(u'\\'); at != std::u16string::npos;
         at = Key.second.find(u'\\', at + 1))
        FKeys.try_emplace(TKeyId{Key.first, Key.second.substr(0, at)});
    FKeys.try_emplace(Key);
}

void TSimRegistry::DenyWrite(TRegistryRoot Root, const std::u16string& Path) {
    FDenied.insert(TKeyId{Root, base::FoldedAscii(Path)});
}

void TSimRegistry::AddValueOfType(TRegistryRoot Root, const std::u16string& Path, const std::u16string& Name,
                                  std::uint32_t Type) {
    const auto folded = FoldedPath(Path);
    if (!folded)
        throw std::invalid_argument("TSimRegistry::AddValueOfType: not a key path");
    const TKeyId id{Root, *folded};
    CreateWithParents(id);
    FKeys[id].Values[base::FoldedAscii(Name)] = TValue{Type, {}};
}

std::optional<std::u16string> TSimRegistry::Value(TRegistryRoot Root, const std::u16string& Path,
                                                  const std::u16string& Name) const {
    const auto key = FKeys.find(TKeyId{Root, base::FoldedAscii(Path)});
    if (key == FKeys.end())
        return std::nullopt;
    const auto value = key->second.Values.find(base::FoldedAscii(Name));
    if (value == key->second.Values.end() || value->second.Type != TypeString)
        return std::nullopt;
    return value->second.Text;
}

std::unique_ptr<IRegistryKey> TSimRegistry::OpenForWrite(TRegistryRoot Root, const std::u16string& Path,
                                                         bool LazyWrite) {
    const auto folded = FoldedPath(Path);
    if (!folded)
        return nullptr;
    const TKeyId id{Root, *folded};
    if (WriteDenied(id))
        return nullptr;
    CreateWithParents(id);
    return std::make_unique<TKey>(*this, id, true, LazyWrite);
}

std::unique_ptr<IRegistryKey> TSimRegistry::OpenForRead(TRegistryRoot Root, const std::u16string& Path) {
    if (!KeyExists(Root, Path))
        return nullptr;
    return std::make_unique<TKey>(*this, TKeyId{Root, *FoldedPath(Path)}, false, true);
}

bool TSimRegistry::KeyExists(TRegistryRoot Root, const std::u16string& Path) const {
    const auto folded = FoldedPath(Path);
    if (!folded)
        return false;
    return folded->empty() || FKeys.contains(TKeyId{Root, *folded});
}

} // namespace platform::sim
