#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// The predefined registry roots, with the values Windows gives their handles.
enum class TRegistryRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
};

// Outcome of a registry change; Message is the system's own text for Code.
struct TRegistryResult {
    bool Ok = true;
    std::uint32_t Code = 0;
    std::u16string Message;
};

// One open registry key. Destroying the object closes the key, so it is held only as long as the
// owner lives and closed on every path out.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    // The value as text when it exists and holds text (REG_SZ, or REG_EXPAND_SZ left unexpanded);
    // nothing otherwise.
    virtual std::optional<std::u16string> ReadString(const std::u16string& Name) const = 0;
    virtual TRegistryResult WriteString(const std::u16string& Name, const std::u16string& Value) = 0;
    // A value that is not there counts as deleted.
    virtual TRegistryResult DeleteValue(const std::u16string& Name) = 0;
};

// Keys are paths below a root, parts separated by backslashes, no leading backslash; an empty
// path is the root itself.
class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Opens the key for reading and writing and creates it (and its missing parents) when it is
    // not there. Without LazyWrite the key is flushed to disk when it is closed. Null when the key
    // can be neither opened nor created.
    virtual std::unique_ptr<IRegistryKey> OpenForWrite(TRegistryRoot Root, const std::u16string& Path,
                                                       bool LazyWrite) = 0;
    // Opens an existing key for reading only; never creates anything. Null when it is not there or
    // may not be read.
    virtual std::unique_ptr<IRegistryKey> OpenForRead(TRegistryRoot Root, const std::u16string& Path) = 0;
    virtual bool KeyExists(TRegistryRoot Root, const std::u16string& Path) const = 0;
};

} // namespace platform
