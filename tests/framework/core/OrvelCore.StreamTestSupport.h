#pragma once
// Helpers for the stream tests: byte fixtures written as hex. (An error's exact kind and message are
// checked with EXPECT_THROW_EXACTLY_MSG from tests/Test.Support.h.)
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace orvel::test {

// "5A 65 56 6F" -> the four bytes; blanks are only for the reader.
inline std::string Hex(std::string_view text) {
    auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::string bytes;
    int high = -1;
    for (const char c : text) {
        if (c == ' ') {
            continue;
        }
        if (high < 0) {
            high = digit(c);
        } else {
            bytes.push_back(static_cast<char>(high * 16 + digit(c)));
            high = -1;
        }
    }
    return bytes;
}

// The bytes as upper-case hex pairs separated by blanks, so a mismatch reads well.
inline std::string ToHex(std::string_view bytes) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (!text.empty()) {
            text.push_back(' ');
        }
        text.push_back(Digits[b >> 4]);
        text.push_back(Digits[b & 15]);
    }
    return text;
}

} // namespace orvel::test
