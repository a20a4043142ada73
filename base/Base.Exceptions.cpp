#include "base/Base.Exceptions.h"

#include "base/Base.Unicode.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace base {

EOrvelException::EOrvelException(std::u16string Message)
    : FMessage(std::move(Message)), FWhat(Utf16ToUtf8(FMessage)) {}

std::u16string ReadableTypeName(const std::type_info& Type) {
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(Type.name(), nullptr, nullptr, &status), &std::free);
    return Utf8ToUtf16(status == 0 && demangled ? demangled.get() : Type.name());
}

std::u16string ExceptionClassName(const std::exception& Error) {
    std::u16string name = ReadableTypeName(typeid(Error));
    const std::size_t scope = name.rfind(u"::");
    if (scope != std::u16string::npos) {
        name.erase(0, scope + 2);
    }
    return name;
}

std::u16string ExceptionMessage(const std::exception& Error) {
    if (const auto* ours = dynamic_cast<const EOrvelException*>(&Error)) {
        return ours->Message();
    }
    return Utf8ToUtf16(Error.what());
}

void RaiseAssertion(std::u16string_view Message) {
    throw EAssertionFailed(std::u16string(Message));
}

} // namespace base
