#include "tools/icongen/Icongen.Deflate.h"

#include <array>
#include <vector>

namespace icongen {

namespace {

constexpr int MinMatch = 3;
constexpr int MaxMatch = 258;
constexpr int WindowSize = 32768;
constexpr int HashBits = 15;
constexpr int ChainLimit = 128;

constexpr std::array<int, 29> LengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                            31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> LengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                             2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> DistanceBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                              33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                              1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> DistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                               6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Bits go out least significant first; Huffman codes most significant first, as deflate wants.
class TBitWriter {
public:
    void Bits(std::uint32_t Value, int Count) {
        for (int i = 0; i < Count; ++i) {
            Bit((Value >> i) & 1u);
        }
    }
    void Code(std::uint32_t Code, int Length) {
        for (int i = Length - 1; i >= 0; --i) {
            Bit((Code >> i) & 1u);
        }
    }
    std::string Finish() {
        if (FCount > 0) {
            FBytes.push_back(static_cast<char>(FCurrent));
        }
        return std::move(FBytes);
    }

private:
    void Bit(std::uint32_t Value) {
        FCurrent |= Value << FCount;
        if (++FCount == 8) {
            FBytes.push_back(static_cast<char>(FCurrent));
            FCurrent = 0;
            FCount = 0;
        }
    }
    std::string FBytes;
    std::uint32_t FCurrent = 0;
    int FCount = 0;
};

void LiteralOrLength(TBitWriter& Out, int Symbol) {
    if (Symbol <= 143) {
        Out.Code(0x30 + Symbol, 8);
    } else if (Symbol <= 255) {
        Out.Code(0x190 + (Symbol - 144), 9);
    } else if (Symbol <= 279) {
        Out.Code(Symbol - 256, 7);
    } else {
        Out.Code(0xC0 + (Symbol - 280), 8);
    }
}

void Match(TBitWriter& Out, int Length, int Distance) {
    int code = 0;
    while (code + 1 < static_cast<int>(LengthBase.size()) && LengthBase[code + 1] <= Length) {
        ++code;
    }
    LiteralOrLength(Out, 257 + code);
    Out.Bits(static_cast<std::uint32_t>(Length - LengthBase[code]), LengthExtra[code]);
    int distanceCode = 0;
    while (distanceCode + 1 < static_cast<int>(DistanceBase.size()) && DistanceBase[distanceCode + 1] <= Distance) {
        ++distanceCode;
    }
    Out.Code(static_cast<std::uint32_t>(distanceCode), 5);
    Out.Bits(static_cast<std::uint32_t>(Distance - DistanceBase[distanceCode]), DistanceExtra[distanceCode]);
}

std::uint32_t Hash(const unsigned char* P) {
    return ((static_cast<std::uint32_t>(P[0]) << 10) ^ (static_cast<std::uint32_t>(P[1]) << 5) ^ P[2]) &
           ((1u << HashBits) - 1);
}

} // namespace

std::uint32_t Adler32(std::string_view Data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const char c : Data) {
        a = (a + static_cast<unsigned char>(c)) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

std::string ZlibCompress(std::string_view Data) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(Data.data());
    const int size = static_cast<int>(Data.size());
    std::vector<int> head(1u << HashBits, -1);
    std::vector<int> previous(WindowSize, -1);
    const auto insert = [&](int Position) {
        if (Position + MinMatch <= size) {
            const std::uint32_t hash = Hash(bytes + Position);
            previous[Position % WindowSize] = head[hash];
            head[hash] = Position;
        }
    };

    TBitWriter out;
    out.Bits(1, 1); // the last block
    out.Bits(1, 2); // fixed Huffman codes
    int position = 0;
    while (position < size) {
        int bestLength = 0;
        int bestDistance = 0;
        if (position + MinMatch <= size) {
            int candidate = head[Hash(bytes + position)];
            for (int steps = 0; candidate >= 0 && steps < ChainLimit; ++steps) {
                const int distance = position - candidate;
                if (distance > WindowSize - 1) {
                    break;
                }
                int length = 0;
                const int limit = std::min(MaxMatch, size - position);
                while (length < limit && bytes[candidate + length] == bytes[position + length]) {
                    ++length;
                }
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                    if (length == limit) {
                        break;
                    }
                }
                const int next = previous[candidate % WindowSize];
                // An entry the window has moved past belongs to a newer position: the chain ends.
                if (next >= candidate) {
                    break;
                }
                candidate = next;
            }
        }
        if (bestLength >= MinMatch) {
            Match(out, bestLength, bestDistance);
            for (int i = 0; i < bestLength; ++i) {
                insert(position + i);
            }
            position += bestLength;
        } else {
            LiteralOrLength(out, bytes[position]);
            insert(position);
            ++position;
        }
    }
    LiteralOrLength(out, 256); // end of block

    std::string stream = "\x78\x01";
    stream += out.Finish();
    const std::uint32_t adler = Adler32(Data);
    for (const int shift : {24, 16, 8, 0}) {
        stream.push_back(static_cast<char>((adler >> shift) & 0xFF));
    }
    return stream;
}

} // namespace icongen
