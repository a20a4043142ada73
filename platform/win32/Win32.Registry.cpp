#include "platform/win32/Win32.Registry.h"

#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"

#include <cstring>
#include <vector>

namespace platform::win32 {

namespace {

HKEY RootKey(TRegistryRoot Root) {
    return reinterpret_cast<HKEY>(
        static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(Root))));
}

TRegistryResult Result(LSTATUS Status) {
    if (Status == ERROR_SUCCESS)
        return {};
    const auto code = static_cast<std::uint32_t>(Status);
    return {false, code, SystemErrorMessage(code)};
}

TRegistryResult InvalidName() {
    return Result(ERROR_INVALID_PARAMETER);
}

TRegistryKeyHandle OpenExisting(TRegistryRoot Root, const std::u16string& Path, REGSAM Access) {
    // The out parameter is only taken over on success: on failure it holds no key to close.
    HKEY opened = nullptr;
    if (HasEmbeddedNul(Path) ||
        RegOpenKeyExW(RootKey(Root), AsWide(Path), 0, Access, &opened) != ERROR_SUCCESS)
        return {};
    return TRegistryKeyHandle(opened);
}

class TWin32RegistryKey final : public IRegistryKey {
public:
    TWin32RegistryKey(TRegistryKeyHandle Key, bool FlushOnClose)
        : FKey(std::move(Key)), FFlushOnClose(FlushOnClose) {}
    ~TWin32RegistryKey() override {
        if (FFlushOnClose)
            RegFlushKey(FKey.Get());
    }
    TWin32RegistryKey(const TWin32RegistryKey&) = delete;
    TWin32RegistryKey& operator=(const TWin32RegistryKey&) = delete;

    std::optional<std::u16string> ReadString(const std::u16string& Name) const override {
        if (HasEmbeddedNul(Name))
            return std::nullopt;
        // The value may grow between the size query and the read; ask again until it fits.
        std::vector<BYTE> data;
        for (;;) {
            DWORD type = 0;
            DWORD size = static_cast<DWORD>(data.size());
            const LSTATUS status = RegQueryValueExW(FKey.Get(), AsWide(Name), nullptr, &type,
                                                    data.empty() ? nullptr : data.data(), &size);
            if (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && data.empty() && size > 0)) {
                data.resize(size);
                continue;
            }
            if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
                return std::nullopt;
            // Stored text need not end with a terminator, nor hold whole UTF-16 units.
            std::u16string text(size / sizeof(char16_t), u'\0');
            if (!text.empty())
                std::memcpy(text.data(), data.data(), text.size() * sizeof(char16_t));
            while (!text.empty() && text.back() == u'\0')
                text.pop_back();
            return text;
        }
    }

    TRegistryResult WriteString(const std::u16string& Name, const std::u16string& Value) override {
        if (HasEmbeddedNul(Name) || HasEmbeddedNul(Value))
            return InvalidName();
        const auto bytes = static_cast<DWORD>((Value.size() + 1) * sizeof(char16_t));
        return Result(RegSetValueExW(FKey.Get(), AsWide(Name), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(Value.c_str()), bytes));
    }

    TRegistryResult DeleteValue(const std::u16string& Name) override {
        if (HasEmbeddedNul(Name))
            return InvalidName();
        const LSTATUS status = RegDeleteValueW(FKey.Get(), AsWide(Name));
        return Result(status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status);
    }

private:
    TRegistryKeyHandle FKey;
    bool FFlushOnClose;
};

} // namespace

std::unique_ptr<IRegistryKey> TWin32Registry::OpenForWrite(TRegistryRoot Root, const std::u16string& Path,
                                                           bool LazyWrite) {
    if (HasEmbeddedNul(Path))
        return nullptr;
    HKEY created = nullptr;
    if (RegCreateKeyExW(RootKey(Root), AsWide(Path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &created, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<TWin32RegistryKey>(TRegistryKeyHandle(created), !LazyWrite);
}

std::unique_ptr<IRegistryKey> TWin32Registry::OpenForRead(TRegistryRoot Root, const std::u16string& Path) {
    TRegistryKeyHandle key = OpenExisting(Root, Path, KEY_READ);
    if (!key)
        return nullptr;
    return std::make_unique<TWin32RegistryKey>(std::move(key), false);
}

bool TWin32Registry::KeyExists(TRegistryRoot Root, const std::u16string& Path) const {
    return static_cast<bool>(OpenExisting(Root, Path, KEY_QUERY_VALUE));
}

} // namespace platform::win32
