#pragma once
// The input layout of the stream-reader fuzz target, shared with MakeSeeds: byte 0 gives
// the number of operations (its low 4 bits plus 1), the next bytes name them, the rest is the
// stream the operations read in turn.
#include <cstdint>

namespace fuzz {

enum TStreamOp : std::uint8_t {
    opHeader,     // ReadHeader("TLogLines") and ReadHeader(signature, version)
    opCheckPoint, // ReadCheckPoint / ReadCheckPointE
    opString,     // length-prefixed UTF-8 text
    opStringA,    // length-prefixed bytes
    opStringCnt,  // counted text and bytes with the count taken from the op byte
    opIntegers,   // signed 32-bit array
    opDoubles,    // double array
    opStrings,    // string list
    opByteChunk,  // counted byte block
    opPadding,    // zero or validation padding (low bit), 8 bytes per step of the rest
    opScalars,    // fixed-width values, dates, rectangles, big-endian reads
    opSubStream,  // a stream made from the rest, read as strings
    opCount
};

// An op byte: the operation in the low 4 bits, a parameter (a limit or a count) in the high 4.
constexpr std::uint8_t OpByte(TStreamOp op, std::uint8_t param) {
    return static_cast<std::uint8_t>(op | (param << 4));
}

} // namespace fuzz
