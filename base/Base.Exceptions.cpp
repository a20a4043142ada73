#include "base/Base.Exceptions.h"

#include "base/Base.Unicode.h"

namespace base {

EOrvelException::EOrvelException(std::u16string message)
    : FMessage(std::move(message)), FWhat(Utf16ToUtf8(FMessage)) {}

void RaiseAssertion(std::u16string_view message) {
    throw EAssertionFailed(std::u16string(message));
}

} // namespace base
