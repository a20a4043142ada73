#pragma once
// The toolkit's error for misuse by the program: an operation called in a state that forbids it.
#include "framework/core/OrvelCore.Exceptions.h"

namespace toolkit {

class EInvalidOperation : public orvel::EOrvelException {
    using EOrvelException::EOrvelException;
};

} // namespace toolkit
