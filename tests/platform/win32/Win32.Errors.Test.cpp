#include "platform/win32/Win32.Errors.h"

#include "platform/win32/Win32.Text.h"

#include <gtest/gtest.h>

namespace platform::win32 {
namespace {

TEST(Win32Errors, ThrowLastErrorNamesTheCallAndGivesTheSystemsCodeAndWords) {
    constexpr DWORD NoSuchCode = 0x0BADC0DE;
    const struct {
        DWORD Code;
        std::u16string Words;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, SystemErrorMessage(ERROR_FILE_NOT_FOUND)},
        {ERROR_CLASS_ALREADY_EXISTS, SystemErrorMessage(ERROR_CLASS_ALREADY_EXISTS)},
        {NoSuchCode, u"System error 195936478"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Code);
        SetLastError(c.Code);
        try {
            ThrowLastError(u"CreateWindowExW for a form");
            ADD_FAILURE() << "nothing raised";
        } catch (const base::EOrvelException& error) {
            const auto* own = dynamic_cast<const EOSError*>(&error);
            ASSERT_NE(own, nullptr) << "the backends' one error kind";
            EXPECT_EQ(own->ErrorCode(), c.Code);
            EXPECT_EQ(error.Message(), u"CreateWindowExW for a form: " + c.Words);
        }
    }
}

} // namespace
} // namespace platform::win32
