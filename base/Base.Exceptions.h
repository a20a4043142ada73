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

// Raises EAssertionFailed with `message` when `condition` is false.
void Assert(bool condition, std::u16string_view message);

} // namespace base
