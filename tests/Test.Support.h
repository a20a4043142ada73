#pragma once
// What the test programs share: checking that a statement raises a given kind of error with a
// given message, in one line and with a report that says what happened instead.
//
//   EXPECT_THROW_MSG(ini.Write(u"k", u"a\nb"), EIniFileException, u"Cannot write ...");
//   EXPECT_THROW_MSG_THAT(log.SaveAsText(path), EOrvelException, StartsWith("Error writing"));
//   EXPECT_THROW_EXACTLY_MSG(stream.ReadInteger(), EReadError, "Stream read error");
//
// The error may be of the named class or of one derived from it, as with EXPECT_THROW; the EXACTLY
// form takes only the named class itself, for tests that tell a kind from its subkinds. Its message
// is what the program's reports show (base::ExceptionMessage): Message() of the program's own
// errors, what() of any other. An expected message is UTF-16 text, or UTF-8 as a plain string; a
// matcher sees the message as UTF-8.
#include "base/Base.Exceptions.h"
#include "base/Base.Unicode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <exception>
#include <sstream>
#include <string>
#include <string_view>
#include <typeinfo>

namespace tarvin::test {

inline std::string MessageUtf8(const std::exception& Error) {
    return base::Utf16ToUtf8(base::ExceptionMessage(Error));
}

// Runs Statement; the result says whether it raised E (with Exactly, E itself and no class derived
// from it) whose message Matcher accepts.
template <class E, bool Exactly, class TStatement, class TMatcher>
::testing::AssertionResult RaisesWith(TStatement&& Statement, const char* StatementText,
                                      const char* ErrorText, const TMatcher& Matcher) {
    const ::testing::Matcher<const std::string&> accepts = Matcher;
    try {
        Statement();
    } catch (const E& Error) {
        if (Exactly && typeid(Error) != typeid(E)) {
            return ::testing::AssertionFailure()
                   << StatementText << " raises " << base::Utf16ToUtf8(base::ExceptionClassName(Error)) << " (\""
                   << MessageUtf8(Error) << "\"), a kind of " << ErrorText << " but not " << ErrorText
                   << " itself";
        }
        const std::string message = MessageUtf8(Error);
        ::testing::StringMatchResultListener why;
        if (accepts.MatchAndExplain(message, &why)) {
            return ::testing::AssertionSuccess();
        }
        std::ostringstream expected;
        accepts.DescribeTo(&expected);
        return ::testing::AssertionFailure() << StatementText << " raises " << ErrorText
                                             << " with another message.\n  Expected: " << expected.str()
                                             << "\n    Actual: \"" << message << "\" " << why.str();
    } catch (const std::exception& Other) {
        return ::testing::AssertionFailure()
               << StatementText << " raises " << base::Utf16ToUtf8(base::ExceptionClassName(Other)) << " (\""
               << MessageUtf8(Other) << "\"), not " << ErrorText;
    } catch (...) {
        return ::testing::AssertionFailure()
               << StatementText << " raises something that is no std::exception, not " << ErrorText;
    }
    return ::testing::AssertionFailure() << StatementText << " raises nothing; expected " << ErrorText;
}

inline std::string ExpectedUtf8(std::u16string_view Message) {
    return base::Utf16ToUtf8(Message);
}
inline std::string ExpectedUtf8(std::string_view Message) {
    return std::string(Message);
}

} // namespace tarvin::test

// The switch keeps an "else" after the macro from binding to its "if"; what is streamed after the
// macro is added to the report.
#define TARVIN_EXPECT_RAISES_(statement, ExceptionType, Exactly, matcher)                                    \
    switch (0)                                                                                               \
    case 0:                                                                                                  \
    default:                                                                                                 \
        if (const ::testing::AssertionResult tarvin_raised_ =                                                \
                ::tarvin::test::RaisesWith<ExceptionType, Exactly>([&] { statement; }, #statement,           \
                                                                   #ExceptionType, matcher)) {               \
        } else                                                                                               \
            ADD_FAILURE() << tarvin_raised_.message()

#define EXPECT_THROW_MSG_THAT(statement, ExceptionType, matcher)                                             \
    TARVIN_EXPECT_RAISES_(statement, ExceptionType, false, matcher)

#define EXPECT_THROW_MSG(statement, ExceptionType, message)                                                  \
    TARVIN_EXPECT_RAISES_(statement, ExceptionType, false,                                                   \
                          ::testing::Eq(::tarvin::test::ExpectedUtf8(message)))

#define EXPECT_THROW_EXACTLY_MSG(statement, ExceptionType, message)                                          \
    TARVIN_EXPECT_RAISES_(statement, ExceptionType, true,                                                    \
                          ::testing::Eq(::tarvin::test::ExpectedUtf8(message)))
