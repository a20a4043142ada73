#pragma once
// Helpers for the stream tests: byte fixtures written as hex, and checks of an error's kind and
// exact message.
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <typeinfo>

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

// Runs `action` and checks that it raises exactly the error kind E with `message` (UTF-8).
template <typename E, typename F> void ExpectRaises(F&& action, std::string_view message) {
    try {
        action();
        ADD_FAILURE() << "nothing raised; expected \"" << message << "\"";
    } catch (const EOrvelException& e) {
        EXPECT_EQ(typeid(e), typeid(E)) << "raised " << typeid(e).name() << ": " << e.what();
        EXPECT_EQ(base::Utf16ToUtf8(e.Message()), message);
    }
}

} // namespace orvel::test
