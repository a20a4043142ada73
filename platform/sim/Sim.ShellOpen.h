#pragma once
// The shell's "open" for native tests: records every target and answers as a test says. It is a
// test double, not a product.
#include "platform/Platform.ShellOpen.h"

#include <string>
#include <vector>

namespace platform::sim {

class TSimShellOpen final : public IShellOpen {
public:
    // The answer of every later Open (ShellExecuteW's code: above 32 is success); 42 until set.
    void SetAnswer(std::intptr_t Code) { FAnswer = Code; }
    const std::vector<std::u16string>& Opened() const { return FOpened; }

    [[nodiscard]] TShellOpenResult Open(const std::u16string& Target) override;

private:
    std::intptr_t FAnswer = 42;
    std::vector<std::u16string> FOpened;
};

} // namespace platform::sim
