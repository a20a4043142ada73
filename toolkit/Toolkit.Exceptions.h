#pragma once
// Every error kind the toolkit raises, each derived from the general error of base/.
#include "base/Base.Exceptions.h"

namespace toolkit {

// Misuse by the program: an operation called in a state that forbids it (a range whose maximum
// lies below its minimum, a fixed row count not below the row count ...).
class EInvalidOperation : public base::EOrvelException {
    using EOrvelException::EOrvelException;
};

// A list index out of range.
class EListError : public base::EOrvelException {
    using EOrvelException::EOrvelException;
};

// A grid asked for something its current shape does not allow.
class EInvalidGridOperation : public base::EOrvelException {
    using EOrvelException::EOrvelException;
};

// A text that names no colour.
class EConvertError : public base::EOrvelException {
    using EOrvelException::EOrvelException;
};

// A file that exists but is not a picture the backend can decode.
class EInvalidGraphic : public base::EOrvelException {
    using EOrvelException::EOrvelException;
};

// Another program holds the clipboard open; trying again a moment later usually succeeds, so
// callers that can wait retry on this kind.
class EClipboardException : public base::EOrvelException {
public:
    EClipboardException() : EOrvelException(BusyMessage) {}
    using EOrvelException::EOrvelException;

    static constexpr const char16_t* BusyMessage =
        u"Cannot open clipboard: the clipboard is held by another program";
};

} // namespace toolkit
