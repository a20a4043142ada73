#include "framework/core/OrvelCore.Win.Registry.h"

namespace orvel {

namespace {

std::u16string RelativeKey(const std::u16string& Key) {
    return Key.starts_with(u'\\') ? Key.substr(1) : Key;
}

} // namespace

bool RegistryWriteString(platform::IRegistry& Registry, platform::TRegistryRoot Root,
                         const std::u16string& Key, const std::u16string& Name, bool LazyWrite,
                         const std::u16string& Value) {
    const auto key = Registry.OpenForWrite(Root, RelativeKey(Key), LazyWrite);
    if (!key)
        return false;
    const platform::TRegistryResult written = key->WriteString(Name, Value);
    if (!written.Ok)
        throw ERegistryError(u"RegistryWriteString: cannot write \"" + Name + u"\" in \"" + Key + u"\": " +
                                 written.Message,
                             written.Code);
    return true;
}

std::u16string RegistryReadString(platform::IRegistry& Registry, platform::TRegistryRoot Root,
                                  const std::u16string& Key, const std::u16string& Name,
                                  const std::u16string& Default) {
    const auto key = Registry.OpenForRead(Root, RelativeKey(Key));
    if (!key)
        return Default;
    return key->ReadString(Name).value_or(Default);
}

} // namespace orvel
