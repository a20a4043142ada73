#pragma once
// One string value in the registry, written or read with the key held only during the call.
#include "framework/core/OrvelCore.Exceptions.h"
#include "platform/Platform.Registry.h"

#include <cstdint>
#include <string>
#include <utility>

namespace orvel {

// The system refused to store a value in a key that it had opened for writing.
class ERegistryError : public EOrvelException {
public:
    ERegistryError(std::u16string Message, std::uint32_t Code)
        : EOrvelException(std::move(Message)), FCode(Code) {}
    std::uint32_t Code() const noexcept { return FCode; }

private:
    std::uint32_t FCode;
};

// Key paths are taken relative to the root; one leading backslash is allowed and ignored, so
// "\Software\X" and "Software\X" name the same key.

// Opens Key under Root for writing, creating it when missing; false when it can be neither opened
// nor created. Otherwise writes Value as the text value Name and answers true. Without LazyWrite
// the key is flushed to disk when it is closed. A refused write raises ERegistryError
// ("RegistryWriteString: cannot write \"{Name}\" in \"{Key}\": {system text}"); the key is closed
// on that path too.
bool RegistryWriteString(platform::IRegistry& Registry, platform::TRegistryRoot Root,
                         const std::u16string& Key, const std::u16string& Name, bool LazyWrite,
                         const std::u16string& Value);

// The text value Name of Key under Root; Default when the key or the value is missing or the value
// does not hold text. Opens the key for reading only and never creates it.
std::u16string RegistryReadString(platform::IRegistry& Registry, platform::TRegistryRoot Root,
                                  const std::u16string& Key, const std::u16string& Name,
                                  const std::u16string& Default);

} // namespace orvel
