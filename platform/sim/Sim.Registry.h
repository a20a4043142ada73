#pragma once
// An in-memory registry for native tests: keys and values under each root, names compared without
// regard to ASCII case as Windows does, with a count of open keys so a test can see that every key
// was closed. It is a test double, not a product.
#include "platform/Platform.Registry.h"

#include <cstddef>
#include <map>
#include <set>
#include <utility>

namespace platform::sim {

class TSimRegistry final : public IRegistry {
public:
    static constexpr std::uint32_t TypeString = 1;   // REG_SZ
    static constexpr std::uint32_t TypeDword = 4;    // REG_DWORD
    static constexpr std::uint32_t AccessDenied = 5; // ERROR_ACCESS_DENIED

    // --- test controls ---
    // The key and everything below it refuse to be opened for writing (and so to be created).
    void DenyWrite(TRegistryRoot Root, const std::u16string& Path);
    // From now on every value write fails with this code (0 lets writes succeed again).
    void FailValueWrites(std::uint32_t Code) { FWriteError = Code; }
    // Stores a value of another type than text; its data is not kept.
    void AddValueOfType(TRegistryRoot Root, const std::u16string& Path, const std::u16string& Name,
                        std::uint32_t Type);

    // --- what happened ---
    std::size_t OpenKeyCount() const { return FOpenKeys; }
    std::size_t FlushCount() const { return FFlushes; }
    std::size_t KeyCount() const { return FKeys.size(); }
    std::optional<std::u16string> Value(TRegistryRoot Root, const std::u16string& Path,
                                        const std::u16string& Name) const;

    // IRegistry
    std::unique_ptr<IRegistryKey> OpenForWrite(TRegistryRoot Root, const std::u16string& Path,
                                               bool LazyWrite) override;
    std::unique_ptr<IRegistryKey> OpenForRead(TRegistryRoot Root, const std::u16string& Path) override;
    bool KeyExists(TRegistryRoot Root, const std::u16string& Path) const override;

private:
    class TKey;
    struct TValue {
        std::uint32_t Type = TypeString;
        std::u16string Text;
    };
    struct TKeyData {
        std::map<std::u16string, TValue> Values; // by folded name
    };
    using TKeyId = std::pair<TRegistryRoot, std::u16string>; // folded path

    static std::optional<std::u16string> FoldedPath(const std::u16string& Path);
    bool WriteDenied(const TKeyId& Key) const;
    void CreateWithParents(const TKeyId& Key);

    std::map<TKeyId, TKeyData> FKeys;
    std::set<TKeyId> FDenied;
    std::uint32_t FWriteError = 0;
    std::size_t FOpenKeys = 0;
    std::size_t FFlushes = 0;
};

} // namespace platform::sim
