#pragma once
// A zlib stream (RFC 1950) of one deflate block with the fixed Huffman codes (RFC 1951) and
// LZ77 matches found through hash chains: enough to keep a PNG icon small without a compression
// library on the build machine.
#include <cstdint>
#include <string>
#include <string_view>

namespace icongen {

std::string ZlibCompress(std::string_view Data);

// The Adler-32 checksum zlib puts after the compressed data.
std::uint32_t Adler32(std::string_view Data);

} // namespace icongen
