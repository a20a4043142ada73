#pragma once
// The error every layer raises and catches: a UTF-16 message (what() gives it as UTF-8), and the
// assertion, which stays on in every build and raises an ordinary, catchable error.
#include <cstddef>
#include <exception>
#include <string>
#include <string_view>
#include <typeinfo>

namespace base {

// The general error; every other kind of the program derives from it.
class EOrvelException : public std::exception {
public:
    explicit EOrvelException(std::u16string Message);
    const std::u16string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FWhat.c_str(); }

private:
    std::u16string FMessage;
    std::string FWhat;
};

// A programming error caught by an assertion.
class EAssertionFailed : public EOrvelException {
    using EOrvelException::EOrvelException;
};

// A class name as the source spells it ("std::runtime_error"), where the compiler can tell.
std::u16string ReadableTypeName(const std::type_info& Type);

// The class of an error as its reports name it, without namespaces: "EIniFileException" for an
// orvel::EIniFileException, "runtime_error" for a std::runtime_error.
std::u16string ExceptionClassName(const std::exception& Error);

// The message of an error: Message() of ours, what() of any other.
std::u16string ExceptionMessage(const std::exception& Error);

// Raises EAssertionFailed with `Message`.
[[noreturn]] void RaiseAssertion(std::u16string_view Message);

// Raises EAssertionFailed with `Message` when `Condition` is false. Inline, and a literal message
// is taken with the length it has, so that an assertion that holds costs a test and a branch:
// measuring the literal's length on every call would cost more than the test.
inline void Assert(bool Condition, std::u16string_view Message) {
    if (!Condition) [[unlikely]] {
        RaiseAssertion(Message);
    }
}
template <std::size_t N> inline void Assert(bool Condition, const char16_t (&Message)[N]) {
    if (!Condition) [[unlikely]] {
        RaiseAssertion(std::u16string_view(Message, N - 1));
    }
}

} // namespace base
