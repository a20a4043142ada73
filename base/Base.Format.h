#pragma once
// Numbers and texts put together into one message: a format text with numbered placeholders,
//   base::Format(u"Windows accepted only {0} of {1} keystrokes", Delivered, Requested)
// "{N}" (N decimal, counted from 0) is the text of argument N; "{{" is one "{"; every other
// character is taken as it is. Arguments are integers of any width and sign, floating-point
// numbers (the shortest text that reads back the same, with a decimal point whatever the locale:
// FormatDouble) and UTF-16 texts. A placeholder past the last argument is a programming error and
// fails an assertion. The order of the placeholders is free, and one may appear more than once.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace base {

// One argument of Format, converted implicitly from the value passed. It keeps a text by reference,
// so it lives only for the call.
class TFormatArg {
public:
    // Every number type is taken here, so none is silently converted to another kind. Characters,
    // Booleans and enumerations are not numbers: passing one is a mistake the compiler catches.
    template <class T>
    requires(std::is_arithmetic_v<T> || std::is_enum_v<T>) TFormatArg(T Value) {
        static_assert(!std::is_enum_v<T>, "Format takes the number of an enumeration, not the enumeration");
        static_assert(!std::is_same_v<T, bool> && !std::is_same_v<T, char> && !std::is_same_v<T, char8_t> &&
                          !std::is_same_v<T, char16_t> && !std::is_same_v<T, char32_t> &&
                          !std::is_same_v<T, wchar_t>,
                      "Format takes numbers and texts, not a single character or a Boolean");
        if constexpr (std::is_floating_point_v<T>) {
            FKind = TKind::Double;
            FDouble = static_cast<double>(Value);
        } else if constexpr (std::is_signed_v<T>) {
            FKind = TKind::Signed;
            FSigned = static_cast<std::int64_t>(Value);
        } else {
            FKind = TKind::Unsigned;
            FUnsigned = static_cast<std::uint64_t>(Value);
        }
    }
    TFormatArg(std::u16string_view Value) : FKind(TKind::Text), FText(Value) {}
    TFormatArg(const char16_t* Value) : FKind(TKind::Text), FText(Value) {}
    TFormatArg(const std::u16string& Value) : FKind(TKind::Text), FText(Value) {}

    // Appends the argument's text.
    void AppendTo(std::u16string& Out) const;

private:
    enum class TKind : std::uint8_t { Signed, Unsigned, Double, Text };
    TKind FKind;
    union {
        std::int64_t FSigned;
        std::uint64_t FUnsigned;
        double FDouble;
    };
    std::u16string_view FText;
};

// Format with the arguments as a list; Format below is the usual way in.
std::u16string FormatList(std::u16string_view Pattern, std::initializer_list<TFormatArg> Args);

template <class... TArgs> std::u16string Format(std::u16string_view Pattern, const TArgs&... Args) {
    return FormatList(Pattern, {TFormatArg(Args)...});
}

} // namespace base
