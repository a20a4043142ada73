#pragma once
// The framework's error kinds, all derived from the general error of base/.
#include "base/Base.Exceptions.h"

namespace orvel {

using base::Assert;
using base::EAssertionFailed;
using base::EOrvelException;

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

} // namespace orvel
