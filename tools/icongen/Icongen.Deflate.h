#pragma once
// The zlib stream (RFC 1950) a PNG keeps its pixel rows in, made by the zlib of the build machine.
#include <cstdint>
#include <string>
#include <string_view>

namespace icongen {

std::string ZlibCompress(std::string_view Data);

// The Adler-32 checksum zlib puts after the compressed data.
std::uint32_t Adler32(std::string_view Data);

} // namespace icongen
