#pragma once
// The error every layer raises and catches: a UTF-16 message (what() gives it as UTF-8), and the
// assertion, which stays on in every build and raises an ordinary, catchable error.
#include <exception>
#include <string>
#include <string_view>

namespace base {

// The general error; every other kind of the program derives from it.
class EOrvelException : public std::exception {
public:
    explicit EOrvelException(std::u16string message);
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

// The class of an error as its reports name it, without namespaces: "EIniFileException" for an
// orvel::EIniFileException, "runtime_error" for a std::runtime_error.
std::u16string ExceptionClassName(const std::exception& error);

// The message of an error: Message() of ours, what() of any other.
std::u16string ExceptionMessage(const std::exception& error);

// Raises EAssertionFailed with `message` when `condition` is false.
void Assert(bool condition, std::u16string_view message);

} // namespace base
