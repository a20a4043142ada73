#pragma once
#include "platform/Platform.Registry.h"

namespace platform::win32 {

// RegCreateKeyExW / RegOpenKeyExW on the 64-bit view the process sees by default,
// RegQueryValueExW, RegSetValueExW, RegDeleteValueW. A key opened without lazy writing is
// flushed (RegFlushKey) before it is closed.
class TWin32Registry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenForWrite(TRegistryRoot root, const std::u16string& path,
                                               bool lazyWrite) override;
    std::unique_ptr<IRegistryKey> OpenForRead(TRegistryRoot root, const std::u16string& path) override;
    bool KeyExists(TRegistryRoot root, const std::u16string& path) const override;
};

} // namespace platform::win32
