#include "base/Base.Exceptions.h"
#include "tests/Test.Support.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace base {
namespace {

TEST(BaseExceptions, MessageStaysUtf16AndWhatGivesUtf8) {
    const EOrvelException error(u"Datei \u00FCbersprungen \u2014 \U0001F600");
    EXPECT_EQ(error.Message(), u"Datei \u00FCbersprungen \u2014 \U0001F600");
    EXPECT_STREQ(error.what(), "Datei \xC3\xBC" "bersprungen \xE2\x80\x94 \xF0\x9F\x98\x80");
}

TEST(BaseExceptions, AssertRaisesACatchableErrorOnlyWhenTheConditionFails) {
    EXPECT_NO_THROW(Assert(true, u"never shown"));
    EXPECT_THROW_MSG(Assert(false, u"TSettings: the INI file is missing"), EAssertionFailed,
                     u"TSettings: the INI file is missing");
}

namespace reporting {
class EIniFileException : public EOrvelException {
    using EOrvelException::EOrvelException;
};
} // namespace reporting

TEST(BaseExceptions, ReportsNameTheClassWithoutNamespacesAndGiveTheMessage) {
    const reporting::EIniFileException ours(u"Unable to write to C:\\x.ini");
    const std::runtime_error theirs("disk full");
    EXPECT_EQ(ExceptionClassName(ours), u"EIniFileException");
    EXPECT_EQ(ExceptionClassName(theirs), u"runtime_error");
    EXPECT_EQ(ExceptionMessage(ours), u"Unable to write to C:\\x.ini");
    EXPECT_EQ(ExceptionMessage(theirs), u"disk full");
    // Seen through a base reference, the report still names the real class.
    const std::exception& asBase = ours;
    EXPECT_EQ(ExceptionClassName(asBase), u"EIniFileException");
}

} // namespace
} // namespace base
