#pragma once
// The framework's error kinds. Messages are UTF-16 like every other text; what() gives UTF-8.
#include <exception>
#include <string>
#include <string_view>

namespace orvel {

class EOrvelException : public std::exception {
public:
    explicit EOrvelException(std::u16string message);
    const std::u16string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FWhat.c_str(); }

private:
    std::u16string FMessage;
    std::string FWhat;
};

// A stream or file could not be read as expected.
class EReadError : public EOrvelException {
    using EOrvelException::EOrvelException;
};

// A stream or file could not be written.
class EWriteError : public EOrvelException {
    using EOrvelException::EOrvelException;
};

// A file could not be created.
class EFCreateError : public EOrvelException {
    using EOrvelException::EOrvelException;
};

// An INI file refused a write.
class EIniFileException : public EOrvelException {
    using EOrvelException::EOrvelException;
};

// A programming error caught by an assertion. Assertions stay on in every build and raise an
// ordinary, catchable error.
class EAssertionFailed : public EOrvelException {
    using EOrvelException::EOrvelException;
};

// Raises EAssertionFailed with `message` when `condition` is false.
void Assert(bool condition, std::u16string_view message);

} // namespace orvel
