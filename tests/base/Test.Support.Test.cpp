// The shared check of an error and its message: it passes only for the named class (or one derived
// from it) with the expected message, and its report says what happened instead.
#include "tests/Test.Support.h"

#include <gtest/gtest-spi.h>

#include <stdexcept>

namespace {

using base::EAssertionFailed;
using base::EOrvelException;

void RaiseAssertion() {
    base::RaiseAssertion(u"Cannot be nil \u00FC");
}

TEST(ExpectThrowMsg, PassesForTheClassOrADerivedOneWithTheMessage) {
    EXPECT_THROW_MSG(RaiseAssertion(), EAssertionFailed, u"Cannot be nil \u00FC");
    EXPECT_THROW_MSG(RaiseAssertion(), EOrvelException, u"Cannot be nil \u00FC");
    EXPECT_THROW_MSG(RaiseAssertion(), EOrvelException, "Cannot be nil \xC3\xBC");
    EXPECT_THROW_MSG(throw std::logic_error("not on the main thread"), std::logic_error,
                     "not on the main thread");
    EXPECT_THROW_MSG_THAT(RaiseAssertion(), EAssertionFailed, ::testing::StartsWith("Cannot"));
    EXPECT_THROW_EXACTLY_MSG(RaiseAssertion(), EAssertionFailed, u"Cannot be nil \u00FC");
}

TEST(ExpectThrowMsg, ReportsEveryOtherOutcome) {
    EXPECT_NONFATAL_FAILURE(EXPECT_THROW_MSG(RaiseAssertion(), EAssertionFailed, u"Cannot be null"),
                            "raises EAssertionFailed with another message");
    EXPECT_NONFATAL_FAILURE(
        EXPECT_THROW_MSG(throw std::runtime_error("disk full"), EOrvelException, u"disk full"),
        "raises runtime_error (\"disk full\"), not EOrvelException");
    EXPECT_NONFATAL_FAILURE(EXPECT_THROW_MSG(throw EOrvelException(u"x"), EAssertionFailed, u"x"),
                            "raises EOrvelException (\"x\"), not EAssertionFailed");
    EXPECT_NONFATAL_FAILURE(EXPECT_THROW_MSG(throw 42, EOrvelException, u"x"), "no std::exception");
    EXPECT_NONFATAL_FAILURE(EXPECT_THROW_MSG((void)0, EOrvelException, u"x"),
                            "raises nothing; expected EOrvelException");
    EXPECT_NONFATAL_FAILURE(
        EXPECT_THROW_MSG_THAT(RaiseAssertion(), EAssertionFailed, ::testing::HasSubstr("nul")),
        "Actual: \"Cannot be nil");
    EXPECT_NONFATAL_FAILURE(
        EXPECT_THROW_EXACTLY_MSG(RaiseAssertion(), EOrvelException, u"Cannot be nil \u00FC"),
        "raises EAssertionFailed (\"Cannot be nil \xC3\xBC\"), a kind of EOrvelException but not "
        "EOrvelException itself");
    // What is streamed after the check joins the report.
    EXPECT_NONFATAL_FAILURE(EXPECT_THROW_MSG((void)0, EOrvelException, u"x") << "case 7", "case 7");
}

} // namespace
