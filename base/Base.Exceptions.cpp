#include "base/Base.Exceptions.h"

#include "base/Base.Unicode.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace base {

EOrvelException::EOrvelException(std::u16string message)
    : FMessage(std::move(message)), FWhat(Utf16ToUtf8(FMessage)) {}

std::u16string ExceptionClassName(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    const std::size_t scope = name.rfind("::");
    if (scope != std::string::npos) {
        name.erase(0, scope + 2);
    }
    return Utf8ToUtf16(name);
}

std::u16string ExceptionMessage(const std::exception& error) {
    if (const auto* ours = dynamic_cast<const EOrvelException*>(&error)) {
        return ours->Message();
    }
    return Utf8ToUtf16(error.what());
}

void Assert(bool condition, std::u16string_view message) {
    if (!condition) {
        throw EAssertionFailed(std::u16string(message));
    }
}

} // namespace base
