#pragma once
#include "platform/Platform.Registry.h"

namespace platform::win32 {

// RegCreateKeyExW / RegOpenKeyExW on the 64-bit view the process sees by default,
// RegQueryValueExW, RegSetValueExW, RegDeleteValueW. A key opened without lazy writing is
// flushed (RegFlushKey) before it is closed.
class TWin32Registry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenForWrite(TRegistryRoot Root, const std::u16string& Path,
                                               bool LazyWrite) override;
    std::unique_ptr<IRegistryKey> OpenForRead(TRegistryRoot Root, const std::u16string& Path) override;
    bool KeyExists(TRegistryRoot Root, const std::u16string& Path) const override;
};

} // namespace platform::win32
